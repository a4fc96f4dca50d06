// The WinMM backend's buffers and callbacks against a scripted WinMM: runs on any machine.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "devices/winmm_backend.h"
#include "devices/winmm_scripted_api.h"
#include "exchange_test_support.h"
#include "midi/midi_bytes.h"
#include "midi/synth_connection.h"
#include "midi/tone_exchange.h"
#include "synth_responder.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using devices::ScriptedWinMmApi;
using devices::WinMmBackend;

// Long enough for any busy machine; only a device that never finishes waits this long.
constexpr devices::WinMmOutputLimits kPatient{30s};
constexpr devices::WinMmOutputLimits kImpatient{20ms};

struct Fixture {
    explicit Fixture(devices::WinMmOutputLimits limits = kPatient,
                     devices::WinMmInputBuffers buffers = {})
        : backend(system, limits, buffers) {
        system->outputs = {"USB MIDI Out", "Loopback"};
        system->inputs = {"USB MIDI In"};
        EXPECT_EQ(backend.ListDevices(), 2u);
    }
    std::unique_ptr<midi::OutputConnection> Output() {
        midi::OpenedOutput opened = backend.Open(0);
        EXPECT_EQ(opened.status.code, midi::MMSYSERR_NOERROR) << opened.status.reason;
        return std::move(opened.connection);
    }
    std::unique_ptr<midi::InputConnection> Input() {
        midi::OpenedInput opened = backend.OpenInput("USB MIDI In");
        EXPECT_EQ(opened.status.code, midi::MMSYSERR_NOERROR) << opened.status.reason;
        return std::move(opened.connection);
    }
    std::shared_ptr<ScriptedWinMmApi> system = std::make_shared<ScriptedWinMmApi>();
    WinMmBackend backend;
};

Bytes Concatenated(const std::vector<Bytes>& messages) {
    Bytes all;
    for (const Bytes& message : messages) all.insert(all.end(), message.begin(), message.end());
    return all;
}

TEST(WinMmOutput, EachPieceLeavesAsGivenShortMessagesShortAndSysexPiecesLong) {
    struct Case {
        Bytes piece;
        bool asShort;  // handed to SendShort, as SynthConnection does with three bytes or fewer
        bool longOnTheWire;
    };
    const Case cases[] = {
        {{0xF0, 0x44, 0x00, 0x00, 0x70, 0x10, 0x20, 0x70, 0x31}, false, true},  // open request
        {{0xF7}, true, true},                                                   // its close
        {{0x70, 0x31}, true, true},  // a go-ahead going on with an open SysEx
        {{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, false, true},
        {{0xB0, 0x7B, 0x00}, true, false},
        {{0xC3, 0x05}, true, false},
        {{0xFE}, true, false},
    };
    Fixture fixture;
    auto output = fixture.Output();
    for (const Case& c : cases) {
        const midi::BackendStatus status =
            c.asShort ? output->SendShort(c.piece) : output->SendLong(c.piece);
        EXPECT_EQ(status.code, midi::MMSYSERR_NOERROR) << status.reason;
    }
    EXPECT_EQ(output->Close().code, midi::MMSYSERR_NOERROR);
    const auto sent = fixture.system->Sent();
    ASSERT_EQ(sent.size(), std::size(cases));
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].bytes, cases[i].piece) << i;
        EXPECT_EQ(sent[i].longMessage, cases[i].longOnTheWire) << i;
    }
    EXPECT_EQ(fixture.system->Now().preparedHeaders, 0);
    EXPECT_EQ(fixture.system->Now().distinctOutputBuffers, 1) << "a done buffer is used again";
    EXPECT_EQ(fixture.system->Now().misuses, 0);
    EXPECT_FALSE(fixture.system->Now().outputOpen);
}

// Random pieces while a thread of the system's finishes them late: no buffer is unprepared
// or freed while the device has it, no status byte goes between, and the close waits for all.
TEST(WinMmOutput, BuffersFinishedOnAnotherThreadAreKeptUntilDoneAndNoStatusOvertakesThem) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        Fixture fixture;
        fixture.system->completion = ScriptedWinMmApi::Completion::Held;
        auto output = fixture.Output();
        std::atomic<bool> sending{true};
        std::thread device([&] {
            while (sending || fixture.system->CompleteOne())
                if (!fixture.system->CompleteOne()) std::this_thread::yield();
        });
        Bytes expected;
        for (int i = 0; i < 40; ++i) {
            Bytes piece;
            if (random() % 4 == 0) {
                piece = {static_cast<std::uint8_t>(0x90 + random() % 16), 0x3C, 0x40};
                EXPECT_EQ(output->SendShort(piece).code, midi::MMSYSERR_NOERROR);
            } else {
                piece.assign(1 + random() % 300, static_cast<std::uint8_t>(random() % 128));
                piece.front() = 0xF0;
                EXPECT_EQ(output->SendLong(piece).code, midi::MMSYSERR_NOERROR);
            }
            expected.insert(expected.end(), piece.begin(), piece.end());
        }
        EXPECT_EQ(output->Close().code, midi::MMSYSERR_NOERROR);
        sending = false;
        device.join();
        std::vector<Bytes> wire;
        for (const auto& message : fixture.system->Sent()) wire.push_back(message.bytes);
        EXPECT_EQ(Concatenated(wire), expected) << "seed " << seed;
        EXPECT_EQ(fixture.system->Now().preparedHeaders, 0) << "seed " << seed;
        EXPECT_EQ(fixture.system->Now().misuses, 0) << "seed " << seed;
    }
}

TEST(WinMmOutput, FailuresOfTheSystemComeBackNamedAndLeaveNothingPrepared) {
    struct Case {
        const char* call;
        devices::WinMmResult result;
        midi::MMRESULT code;
        const char* reasonHas;
    };
    const Case cases[] = {
        {"OutPrepare", midi::MMSYSERR_NOMEM, midi::MMSYSERR_NOMEM, "midiOutPrepareHeader"},
        {"OutLong", midi::MIDIERR_NOTREADY, midi::MIDIERR_NOTREADY, "midiOutLongMsg"},
        {"OutLong", 70, midi::MMSYSERR_ERROR, "result 70: scripted error 70"},
        {"OutShort", midi::MMSYSERR_INVALHANDLE, midi::MMSYSERR_INVALHANDLE, "midiOutShortMsg"},
        {"OutUnprepare", midi::MMSYSERR_ERROR, midi::MMSYSERR_ERROR, "midiOutUnprepareHeader"},
    };
    for (const Case& c : cases) {
        Fixture fixture;
        auto output = fixture.Output();
        const Bytes sysex{0xF0, 0x01, 0xF7};
        // An unprepare fails only when a done buffer is taken back, at the next send.
        if (std::string(c.call) == "OutUnprepare") {
            ASSERT_EQ(output->SendLong(sysex).code, midi::MMSYSERR_NOERROR);
        }
        fixture.system->FailNext(c.call, c.result);
        const midi::BackendStatus failed = std::string(c.call) == "OutShort"
                                               ? output->SendShort(Bytes{0x80, 1, 2})
                                               : output->SendLong(sysex);
        EXPECT_EQ(failed.code, c.code) << c.call;
        EXPECT_NE(failed.reason.find(c.reasonHas), std::string::npos) << failed.reason;
        EXPECT_EQ(output->SendLong(sysex).code, midi::MMSYSERR_NOERROR)
            << "usable after " << c.call;
        EXPECT_EQ(output->Close().code, midi::MMSYSERR_NOERROR) << c.call;
        const int kept = std::string(c.call) == "OutUnprepare" ? 1 : 0;
        EXPECT_EQ(fixture.system->Now().preparedHeaders, kept)
            << "never freed, never touched again";
        EXPECT_EQ(fixture.system->Now().misuses, 0) << c.call;
    }
}

TEST(WinMmOutput, AClosedDeviceThatNeverFinishesIsResetAndItsBuffersUnprepared) {
    Fixture fixture(kImpatient);
    auto output = fixture.Output();
    fixture.system->completion = ScriptedWinMmApi::Completion::Held;
    ASSERT_EQ(output->SendLong(Bytes{0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, 0x20}).code,
              midi::MMSYSERR_NOERROR);
    const midi::BackendStatus shortOne = output->SendShort(Bytes{0xB0, 0x7B, 0x00});
    EXPECT_EQ(shortOne.code, midi::MIDIERR_STILLPLAYING) << "a status byte would end the SysEx";
    const midi::BackendStatus closed = output->Close();
    EXPECT_EQ(closed.code, midi::MIDIERR_STILLPLAYING);
    EXPECT_NE(closed.reason.find("dropped"), std::string::npos) << closed.reason;
    EXPECT_EQ(fixture.system->Now().preparedHeaders, 0);
    EXPECT_FALSE(fixture.system->Now().outputOpen);
    EXPECT_EQ(fixture.system->Now().misuses, 0);
}

// What the synth sends, cut anywhere and taken off the wire by the system while another thread
// looks: every byte arrives once and in order (timing bytes aside), the pieces of a SysEx are
// joined as far as they have come, and no buffer is lost.
TEST(WinMmInput, EverythingSentArrivesInOrderWhateverTheCutsAndThreads) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        Bytes stream;
        Bytes expected;
        for (int i = 0; i < 30; ++i) {
            Bytes message;
            switch (random() % 4) {
                case 0:
                    message = {static_cast<std::uint8_t>(0x80 + random() % 0x70), 0x10, 0x20};
                    message.resize(static_cast<std::size_t>(midi::ShortMessageLength(message[0])));
                    break;
                case 1:
                    stream.push_back(0xF8);  // clock: dropped
                    continue;
                default:
                    message.assign(2 + random() % 300, static_cast<std::uint8_t>(random() % 128));
                    message.front() = 0xF0;
                    message.back() = 0xF7;
            }
            stream.insert(stream.end(), message.begin(), message.end());
            expected.insert(expected.end(), message.begin(), message.end());
        }
        Fixture fixture(kPatient, {.bytes = static_cast<std::uint32_t>(1 + random() % 8),
                                   .count = static_cast<std::uint32_t>(4 + random() % 8)});
        auto input = fixture.Input();
        std::thread wire([&] {
            for (std::size_t at = 0; at < stream.size();) {
                const std::size_t cut =
                    std::min<std::size_t>(stream.size() - at, 1 + random() % 40);
                fixture.system->Arrive(std::span(stream).subspan(at, cut));
                at += cut;
            }
        });
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (got.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
            const Bytes more = Concatenated(input->Received());
            got.insert(got.end(), more.begin(), more.end());
            std::this_thread::yield();
        }
        wire.join();
        EXPECT_EQ(got, expected) << "seed " << seed;
        EXPECT_EQ(fixture.system->Now().misuses, 0) << "a byte found no buffer, seed " << seed;
        EXPECT_EQ(input->Close().code, midi::MMSYSERR_NOERROR);
        EXPECT_EQ(fixture.system->Now().preparedHeaders, 0);
        EXPECT_FALSE(fixture.system->Now().inputOpen);
    }
}

TEST(WinMmInput, TheAcknowledgementLeftOpenArrivesAtOnceAndALongSysexAsOneMessage) {
    Fixture fixture;
    auto input = fixture.Input();
    fixture.system->Arrive(Acknowledgement(3));
    EXPECT_EQ(input->Received(), std::vector<Bytes>{Acknowledgement(3)});
    const Bytes rest = Joined({Bytes(256, 0x05), {0xF7}});
    fixture.system->Arrive(rest);
    fixture.system->Arrive(Bytes{0x93, 0x3C, 0x40});
    EXPECT_EQ(input->Received(), (std::vector<Bytes>{rest, {0x93, 0x3C, 0x40}}));
    EXPECT_EQ(input->Close().code, midi::MMSYSERR_NOERROR);
}

TEST(WinMmInput, FailuresOnOpenCloseEverythingAndARequeueFailureIsTheCloseResult) {
    for (const char* call : {"InOpen", "InPrepare", "InAddBuffer", "InStart"}) {
        Fixture fixture;
        fixture.system->FailNext(call, midi::MMSYSERR_NOMEM);
        const midi::OpenedInput opened = fixture.backend.OpenInput("USB MIDI In");
        EXPECT_EQ(opened.status.code, midi::MMSYSERR_NOMEM) << call;
        EXPECT_EQ(opened.connection, nullptr);
        EXPECT_EQ(fixture.system->Now().preparedHeaders, 0) << call;
        EXPECT_FALSE(fixture.system->Now().inputOpen) << call;
    }
    Fixture fixture(kPatient, {.bytes = 6, .count = 2});
    auto input = fixture.Input();
    fixture.system->FailNext("InAddBuffer", midi::MMSYSERR_NOMEM);
    fixture.system->Arrive(Acknowledgement(1));
    EXPECT_EQ(fixture.system->Now().queuedInputBuffers, 1);
    const midi::BackendStatus closed = input->Close();
    EXPECT_EQ(closed.code, midi::MMSYSERR_NOMEM);
    EXPECT_NE(closed.reason.find("midiInAddBuffer"), std::string::npos);
    EXPECT_EQ(fixture.system->Now().preparedHeaders, 0);
}

TEST(WinMmInput, BuffersTheSystemKeepsAfterItsResetAreNeverUnpreparedOrFreed) {
    Fixture fixture(kPatient, {.bytes = 6, .count = 3, .drain = 20ms});
    auto input = fixture.Input();
    fixture.system->resetReturnsInput = false;
    EXPECT_EQ(input->Close().code, midi::MIDIERR_STILLPLAYING);
    EXPECT_EQ(fixture.system->Now().preparedHeaders, 3);
    EXPECT_EQ(fixture.system->Now().misuses, 1) << "only the system's refusal to close";
}

TEST(WinMmBackend, ListsOpensByNameAndHasNoPortOfItsOwn) {
    Fixture fixture;
    EXPECT_EQ(fixture.backend.NameOf(1).name, "Loopback");
    EXPECT_EQ(fixture.backend.NameOf(2).status.code, midi::MMSYSERR_BADDEVICEID);
    EXPECT_EQ(fixture.backend.InputNames(), std::vector<std::string>{"USB MIDI In"});
    EXPECT_EQ(fixture.backend.OpenDefault().status.code, midi::MIDIERR_NODEVICE);
    EXPECT_EQ(fixture.backend.OpenInput("nothing").status.code, midi::MMSYSERR_BADDEVICEID);

    // A device plugged in before the listed one moves it: it is opened where it is now.
    fixture.system->outputs = {"New", "USB MIDI Out", "Loopback"};
    auto output = fixture.Output();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(fixture.system->openedOutputs, std::vector<std::uint32_t>{1});
    EXPECT_EQ(output->Close().code, midi::MMSYSERR_NOERROR);
    fixture.system->outputs = {"New"};
    const midi::OpenedOutput gone = fixture.backend.Open(1);
    EXPECT_EQ(gone.status.code, midi::MMSYSERR_BADDEVICEID);
    EXPECT_NE(gone.status.reason.find("Loopback is no longer there"), std::string::npos);

    fixture.system->outputs.clear();
    EXPECT_EQ(fixture.backend.ListDevices(), 0u) << "as under Wine";
}

// The synth's exchanges through the backend, the synth answering what reaches the wire. An
// answer the synth leaves open (an acknowledgement, then nothing) must still be seen: it is
// what tells a synth that stopped from one that never heard.
TEST(WinMmBackend, ExchangesEndAsTheSynthAnswersIncludingAnAnswerLeftOpen) {
    struct Case {
        SynthBehaviour synth;
        bool write;
        midi::ExchangeOutcome outcome;
    };
    const Case cases[] = {
        {{.channel = 2}, false, midi::ExchangeOutcome::Fetched},
        {{.channel = 2, .confirmation = SynthConfirmation::Close},
         true,
         midi::ExchangeOutcome::Written},
        {{.channel = 2, .confirmation = SynthConfirmation::GoAheadClose},
         true,
         midi::ExchangeOutcome::Written},
        {{.channel = 2, .confirmation = SynthConfirmation::GoAheadMessage},
         true,
         midi::ExchangeOutcome::Written},
        {{.channel = 2, .fault = SynthFault::StopAfterAcknowledgement},
         false,
         midi::ExchangeOutcome::StoppedAfterAcknowledgement},
        {{.channel = 2, .fault = SynthFault::ShortAnswer},
         false,
         midi::ExchangeOutcome::ShortAnswer},
    };
    for (const Case& c : cases) {
        Fixture fixture;
        SynthResponder synth;
        synth.SetBehaviour(c.synth);
        synth.Store(midi::SynthMemory::Internal(4), TestTone(4));
        midi::SynthConnection::Opened opened =
            midi::SynthConnection::Open(fixture.backend, 0, "USB MIDI In");
        ASSERT_NE(opened.connection, nullptr) << opened.status.reason;
        midi::SynthConnection& connection = *opened.connection;
        midi::ToneExchange exchange(connection);
        midi::Clock::TimePoint now{};
        const midi::StartOutcome started =
            c.write ? exchange.StartWrite(2, midi::SynthMemory::Internal(9), TestTone(9),
                                          midi::Confirmation::FromSynth, now)
                    : exchange.StartFetch(2, midi::SynthMemory::Internal(4), now);
        ASSERT_EQ(started, midi::StartOutcome::Started);
        std::optional<midi::ExchangeResult> result;
        for (std::size_t heard = 0; !result && now < midi::Clock::TimePoint{60s}; now += 1ms) {
            const auto sent = fixture.system->Sent();
            for (; heard < sent.size(); ++heard) {
                Bytes answer;
                for (const std::uint8_t byte : sent[heard].bytes) synth.Feed(byte, answer);
                if (!answer.empty()) fixture.system->Arrive(answer);
            }
            for (const Bytes& message : connection.Received())
                if (!result) result = exchange.Receive(message, now);
            if (!result) result = exchange.Tick(now);
        }
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->outcome, c.outcome) << result->reason;
        if (c.outcome == midi::ExchangeOutcome::Fetched) {
            EXPECT_EQ(result->tone, TestTone(4));
        }
        if (c.write) {
            EXPECT_EQ(synth.Stored(midi::SynthMemory::Internal(9)), TestTone(9));
        }
        EXPECT_EQ(connection.Close().code, midi::MMSYSERR_NOERROR);
        EXPECT_EQ(fixture.system->Now().preparedHeaders, 0);
        EXPECT_EQ(fixture.system->Now().misuses, 0);
    }
}

#ifdef _WIN32
// The table over winmm.dll, on whatever devices the machine has (none under Wine).
TEST(WinMmSystem, TheRealTableListsNamesAndRefusesWhatIsNotThere) {
    WinMmBackend backend(devices::MakeSystemWinMmApi());
    const std::size_t count = backend.ListDevices();
    for (std::size_t i = 0; i < count; ++i) EXPECT_FALSE(backend.NameOf(i).name.empty());
    EXPECT_EQ(backend.Open(count).status.code, midi::MMSYSERR_BADDEVICEID);
    EXPECT_EQ(backend.OpenDefault().status.code, midi::MIDIERR_NODEVICE);
    EXPECT_EQ(backend.OpenInput("no such input").status.code, midi::MMSYSERR_BADDEVICEID);
    const std::shared_ptr<devices::WinMmApi> system = devices::MakeSystemWinMmApi();
    std::string name;
    EXPECT_EQ(system->OutName(system->OutCount(), name), midi::MMSYSERR_BADDEVICEID);
    EXPECT_FALSE(system->ErrorText(midi::MMSYSERR_BADDEVICEID).empty());
}
#endif

}  // namespace
}  // namespace voxtane::testing
