// Exchanges with a simulated synth on a real JACK server, through the program's own JACK client:
// the command line's get and put, and the window's link with "Send Patch".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devices/quiet_libraries.h"
#include "devices/system_midi_backend.h"
#include "exchange_test_support.h"
#include "jack_server.h"
#include "midi_test_support.h"
#include "simulated_synth.h"
#include "syx_runner.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::SynthMemory;
using Steady = std::chrono::steady_clock;

struct LinkThroughJack : ::testing::Test {
    void SetUp() override {
        devices::QuietMidiLibraries();
        std::string whyNot;
        server = JackServer::Start(whyNot);
        if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
        synth = SimulatedSynth::Open("voxtane-synth");
        ASSERT_TRUE(synth);
        for (int n = 1; n <= 16; ++n) {
            synth->Store(SynthMemory::Internal(n), TestTone(n));
            synth->Store(SynthMemory::Preset(n), TestTone(100 + n));
            synth->Store(SynthMemory::Cartridge(n), TestTone(200 + n));
        }
        synth->Store(SynthMemory::Current(), TestTone(300));
    }
    [[nodiscard]] RunResult Syx(std::vector<std::string> args) const {
        args.insert(args.end(), {"--out", "JACK: " + synth->InputPortName()});
        return RunSyx(args);
    }
    [[nodiscard]] std::string In() const { return "JACK: " + synth->OutputPortName(); }
    // The records of a bank file written by the command.
    [[nodiscard]] static std::vector<ToneRecord> Records(const std::string& path) {
        const std::vector<std::uint8_t> bytes = ReadBytes(path);
        std::vector<ToneRecord> records;
        for (std::size_t at = 0; at + 264 <= bytes.size(); at += 264) {
            ToneRecord record{};
            for (int k = 1; k <= 256; ++k) record[k] = bytes[at + 6 + k];
            records.push_back(record);
        }
        return records;
    }

    std::unique_ptr<JackServer> server;
    std::unique_ptr<SimulatedSynth> synth;
    TempFolder folder;
};

TEST_F(LinkThroughJack, GetFetchesFromEveryKindOfMemoryOnAnyChannelAtAnySpeed) {
    struct Case {
        SynthMemory memory;
        int channel;
        bool wireSpeed;
        SynthFault fault = SynthFault::None;
    };
    const Case cases[] = {{SynthMemory::Preset(3), 1, false},
                          {SynthMemory::Internal(7), 1, true},
                          {SynthMemory::Cartridge(12), 9, false},
                          {SynthMemory::Current(), 16, true},
                          {SynthMemory::Internal(9), 2, true, SynthFault::WholeRequestsOnly}};
    for (const Case& c : cases) {
        const std::string from = midi::SynthMemoryText(c.memory);
        synth->SetBehaviour({.channel = c.channel, .fault = c.fault});
        synth->SetWireSpeed(c.wireSpeed);
        const std::string out = folder.File(from.substr(0, from.find(':')) + ".syx");
        const RunResult got =
            Syx({"get", out, "--in", In(), "--from", from, "--channel", std::to_string(c.channel)});
        ASSERT_EQ(got.exitCode, 0) << from << ": " << got.err;
        EXPECT_THAT(Records(out), ::testing::ElementsAre(synth->Stored(c.memory))) << from;
    }
}

TEST_F(LinkThroughJack, ABankComesAndGoesWholeAndASilentSynthFailsWithNothingWritten) {
    const std::string bank = folder.File("bank.syx");
    const RunResult got = Syx({"get", bank, "--in", In(), "--bank"});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    std::vector<ToneRecord> memories;
    for (int n = 1; n <= 16; ++n) memories.push_back(TestTone(n));
    EXPECT_EQ(Records(bank), memories);
    EXPECT_THAT(ReadText(folder.File("bank.plf")), ::testing::StartsWith("Internal 1\r\n"));

    // Written back into other memories' places: the synth then holds the bank reversed.
    for (int n = 1; n <= 16; ++n) synth->Store(SynthMemory::Internal(n), TestTone(500 + n));
    synth->SetBehaviour({.confirmation = SynthConfirmation::GoAheadMessage});
    const RunResult put = Syx({"put", bank, "--in", In(), "--bank"});
    ASSERT_EQ(put.exitCode, 0) << put.err;
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(synth->Stored(SynthMemory::Internal(n)), TestTone(n));

    synth->SetBehaviour({.fault = SynthFault::Silent});
    const std::string none = folder.File("none.syx");
    const auto start = Steady::now();
    const RunResult silent = Syx({"get", none, "--in", In(), "--from", "internal:2"});
    EXPECT_LT(Steady::now() - start, 6s) << "a second for each of the two forms of the request";
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_THAT(silent.err, ::testing::HasSubstr("no answer from the synth to the request for "
                                                 "internal memory 2"));
    EXPECT_FALSE(std::filesystem::exists(none));
    EXPECT_FALSE(std::filesystem::exists(folder.File("none.plf")));
    const RunResult unconfirmed = Syx({"put", bank, "--in", In(), "--to", "internal:4"});
    EXPECT_EQ(unconfirmed.exitCode, 1);
    EXPECT_THAT(unconfirmed.err, ::testing::HasSubstr("internal memory 4"));
}

TEST_F(LinkThroughJack, TheWindowsSendPatchIsConfirmedAndGetBankTakesTheSynthsBank) {
    devices::SystemMidiBackend backend({devices::MidiSystem::Jack});
    editor::ScriptedPlatform platform;
    midi::ScriptedDeviceWindow window;
    window.QueueClickOn("JACK: " + synth->InputPortName());
    midi::SteadyClock clock;
    editor::EditorRun run(platform, backend, window, clock);
    run.Start();
    run.synthLink.ApplySettings({In(), 1, false});
    const auto settle = [&run] {
        for (const auto limit = Steady::now() + 30s;
             run.manualTicker.Running() && Steady::now() < limit;) {
            run.manualTicker.Tick();
            std::this_thread::sleep_for(1ms);
        }
    };

    run.form1.hsFine.SetValue(44);
    run.form1.cmdSendOutSysex_Click();
    settle();
    EXPECT_EQ(run.synthLink.Status(), "The synth took the tone.");
    EXPECT_EQ(synth->Stored(SynthMemory::Current()), run.module1.ScratchRecord);

    synth->SetWireSpeed(true);
    run.synthLink.GetBankNamed(false);
    settle();
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(run.module1.PatchBank[n], TestTone(n)) << n;
    EXPECT_TRUE(platform.Messages().empty() ||
                platform.Messages().front().title != run.module1.AppTitle);
}

}  // namespace
}  // namespace voxtane::testing
