// The tone exchange machine against answers written out byte by byte, on a made-up clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "exchange_test_support.h"
#include "midi/tone_exchange.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::ExchangeOutcome;
using midi::ExchangeResult;
using midi::StartOutcome;
using midi::SynthMemory;
using ::testing::ElementsAre;

const SynthMemory kInternal3 = SynthMemory::Internal(3);
const Bytes kClose{0xF7};

struct ToneExchange : ::testing::Test {
    std::optional<ExchangeResult> Feed(const Bytes& bytes) { return exchange.Receive(bytes, now); }
    std::optional<ExchangeResult> Wait(midi::Clock::Duration duration) {
        now += duration;
        return exchange.Tick(now);
    }
    void StartFetch(SynthMemory memory = kInternal3, int channel = 1) {
        ASSERT_EQ(exchange.StartFetch(channel, memory, now), StartOutcome::Started);
    }
    // A fetch that ends without a tone, so that the next request must wait for quiet.
    void FailOnce() {
        StartFetch();
        EXPECT_FALSE(Feed(Acknowledgement(1)));
        ASSERT_EQ(Wait(1s)->outcome, ExchangeOutcome::StoppedAfterAcknowledgement);
        sink.sent.clear();
    }
    // Ticks until the exchange ends, a second at a time.
    std::optional<ExchangeResult> WaitForEnd() {
        std::optional<ExchangeResult> result;
        for (int i = 0; i < 10 && !result; ++i) result = Wait(1s);
        return result;
    }
    Bytes Request(SynthMemory memory = kInternal3, int channel = 1) {
        return AsBytes(midi::BuildFetchRequest(channel, memory));
    }
    Bytes WholeRequest(SynthMemory memory = kInternal3, int channel = 1) {
        return AsBytes(midi::BuildWholeFetchRequest(channel, memory));
    }

    RecordingSink sink;
    midi::ToneExchange exchange{sink};
    midi::Clock::TimePoint now{};
    const ToneRecord tone = TestTone(3);
};

TEST_F(ToneExchange, EveryTwoPieceSplitOfTheAnswerGivesTheTone) {
    const Bytes answer = FetchAnswer(1, tone);
    ASSERT_EQ(answer.size(), 263u);
    for (std::size_t split = 0; split <= answer.size(); ++split) {
        RecordingSink splitSink;
        midi::ToneExchange splitExchange(splitSink);
        ASSERT_EQ(splitExchange.StartFetch(1, kInternal3, now), StartOutcome::Started);
        const Bytes first(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(split));
        const Bytes second(answer.begin() + static_cast<std::ptrdiff_t>(split), answer.end());
        const auto early = splitExchange.Receive(first, now);
        const auto late = splitExchange.Receive(second, now);
        // The result comes with the piece holding the F7, and only then.
        ASSERT_EQ(early.has_value(), split == answer.size()) << split;
        const ExchangeResult& result = early ? *early : *late;
        ASSERT_EQ(result.outcome, ExchangeOutcome::Fetched) << split;
        EXPECT_EQ(result.tone, tone) << split;
        EXPECT_THAT(splitSink.sent, ElementsAre(Request(), kClose)) << split;
    }
}

// Any channel and memory; realtime bytes anywhere; the answer joined to other messages, to the
// echo of the request, to a synth's answer on another channel and to a message it cuts off;
// all cut into random pieces.
TEST_F(ToneExchange, TheToneComesThroughAnyMixOfPiecesRealtimeBytesAndOtherMessages) {
    std::mt19937 random(20240611);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    const std::vector<Bytes> others{{0x90, 0x3C, 0x40},
                                    {0xF0, 0x43, 0x10, 0x01, 0x02, 0xF7},
                                    {0xC0, 0x05},
                                    {0xF0, 0x44, 0x00, 0x00, 0x70, 0x20}};
    for (int trial = 0; trial < 300; ++trial) {
        const int channel = pick(1, 16);
        const SynthMemory memory = *SynthMemory::AtPosition(
            static_cast<std::uint8_t>(std::array{0x00, 0x20, 0x40}[pick(0, 2)] + pick(0, 15)));
        const ToneRecord expected = TestTone(trial);
        Bytes stream;
        for (int i = pick(0, 3); i > 0; --i) stream = Joined({stream, others[pick(0, 3)]});
        stream = Joined(
            {stream, Request(memory, channel), FetchAnswer(channel % 16 + 1, TestTone(trial + 1))});
        if (pick(0, 1) == 1)
            stream = Joined({stream, {0xF0, 0x44, 0x00}});  // cut off by the answer
        stream = Joined({stream, FetchAnswer(channel, expected), others[pick(0, 2)]});
        for (int i = pick(0, 20); i > 0; --i)
            stream.insert(stream.begin() + pick(0, static_cast<int>(stream.size())),
                          static_cast<std::uint8_t>(pick(0xF8, 0xFF)));

        RecordingSink trialSink;
        midi::ToneExchange trialExchange(trialSink);
        ASSERT_EQ(trialExchange.StartFetch(channel, memory, now), StartOutcome::Started);
        std::optional<ExchangeResult> result;
        for (std::size_t at = 0; at < stream.size() && !result;) {
            const std::size_t size = std::min<std::size_t>(pick(1, 40), stream.size() - at);
            result = trialExchange.Receive(std::span(stream).subspan(at, size), now);
            at += size;
        }
        ASSERT_TRUE(result) << "trial " << trial;
        ASSERT_EQ(result->outcome, ExchangeOutcome::Fetched) << "trial " << trial;
        EXPECT_EQ(result->tone, expected) << "trial " << trial;
        EXPECT_THAT(trialSink.sent, ElementsAre(Request(memory, channel), kClose));
    }
}

TEST_F(ToneExchange, EachAnswerHasItsOwnTimeOut) {
    const Bytes answer = FetchAnswer(1, tone);
    StartFetch();
    EXPECT_FALSE(Wait(999ms));
    EXPECT_FALSE(Feed(Acknowledgement(1)));
    EXPECT_FALSE(Wait(999ms));
    const auto result = Feed(Bytes(answer.begin() + 6, answer.end()));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tone, tone);
}

TEST_F(ToneExchange, AWriteIsConfirmedByTheAnswerAfterItsData) {
    ASSERT_EQ(exchange.StartWrite(1, kInternal3, tone, midi::Confirmation::FromSynth, now),
              StartOutcome::Started);
    EXPECT_THAT(sink.sent, ElementsAre(AsBytes(midi::BuildToneWrite(1, kInternal3, tone))));
    EXPECT_FALSE(Feed({0xF0, 0x44, 0x00}));
    const auto result = Feed({0xF8, 0x00, 0x70, 0x30, 0xFE, 0xF7});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, ExchangeOutcome::Written);
    EXPECT_EQ(result->Describe(), "wrote internal memory 3, confirmed by the synth");
    EXPECT_EQ(sink.sent.size(), 1u) << "a write sends nothing after its message";
}

TEST_F(ToneExchange, AWriteWithoutInputEndsAfterThePauseWhateverArrives) {
    ASSERT_EQ(exchange.StartWrite(2, kInternal3, tone, midi::Confirmation::NoInput, now),
              StartOutcome::Started);
    EXPECT_FALSE(Feed(FetchAnswer(2, tone)));
    EXPECT_FALSE(Wait(249ms));
    const auto result = Wait(1ms);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, ExchangeOutcome::SentUnconfirmed);
    EXPECT_TRUE(result->Succeeded());
}

// However the synth confirms a stored tone, in whatever pieces, with realtime bytes between.
TEST_F(ToneExchange, AWriteIsConfirmedInEachFormTheSynthFamilyUses) {
    const Bytes acknowledged = Acknowledgement(5);
    const std::vector<Bytes> forms{
        Joined({acknowledged, {0xF7}}),
        Joined({acknowledged, {0x74, 0x31, 0xF7}}),
        Joined({acknowledged, {0xF0, 0x44, 0x00, 0x00, 0x74, 0x31, 0xF7}}),
        Joined({acknowledged, {0xF7, 0xF0, 0x44, 0x00, 0x00, 0x74, 0x31, 0xF7}}),
    };
    std::mt19937 random(18);
    for (const Bytes& form : forms) {
        for (int trial = 0; trial < 20; ++trial) {
            now += 10s;
            ASSERT_EQ(exchange.StartWrite(5, kInternal3, tone, midi::Confirmation::FromSynth, now),
                      StartOutcome::Started);
            Bytes stream = form;
            stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(random() % stream.size()),
                          0xFE);
            const std::size_t split = random() % stream.size();
            auto result = Feed(Bytes(stream.begin(), stream.begin() + split));
            if (!result) result = Feed(Bytes(stream.begin() + split, stream.end()));
            ASSERT_TRUE(result) << trial;
            EXPECT_EQ(result->outcome, ExchangeOutcome::Written) << trial;
        }
    }
}

// A synth that answers only the request as one whole message gets it on the second try, and
// the next fetch asks that way at once.
TEST_F(ToneExchange, AFetchWithoutAnswerAsksOnceMoreInTheOtherFormAndKeepsTheOneThatWorked) {
    StartFetch();
    EXPECT_FALSE(Wait(1s));
    EXPECT_THAT(sink.sent, ElementsAre(Request(), kClose));
    EXPECT_FALSE(Wait(299ms)) << "the whole message waits for quiet";
    EXPECT_FALSE(Wait(1ms));
    EXPECT_THAT(sink.sent, ElementsAre(Request(), kClose, WholeRequest()));
    EXPECT_EQ(exchange.PreferredFetchForm(), midi::FetchForm::Open);
    const auto result = Feed(FetchAnswer(1, tone));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tone, tone);
    EXPECT_EQ(sink.sent.size(), 3u) << "a whole request is not closed again";
    EXPECT_EQ(exchange.PreferredFetchForm(), midi::FetchForm::Whole);

    sink.sent.clear();
    StartFetch(SynthMemory::Internal(4));
    EXPECT_THAT(sink.sent, ElementsAre(WholeRequest(SynthMemory::Internal(4))));
    EXPECT_FALSE(Wait(1s));
    EXPECT_FALSE(Wait(300ms));
    EXPECT_THAT(sink.sent.back(), Request(SynthMemory::Internal(4))) << "and back again";
    ASSERT_TRUE(Feed(FetchAnswer(1, tone)));
    EXPECT_EQ(exchange.PreferredFetchForm(), midi::FetchForm::Open);
}

// A USB-MIDI cable carries SysEx in packets of three bytes and holds a shorter rest until more
// bytes or an F7 come: a piece that leaves a SysEx open must fill its packets, or the synth never
// gets its last bytes and never answers.
TEST_F(ToneExchange, NoPieceOfAnExchangeLeavesBytesWaitingInAUsbMidiCable) {
    auto held = [](const std::vector<Bytes>& pieces) {
        std::vector<std::size_t> after;
        std::size_t open = 0;  // bytes of the open SysEx not yet in a packet
        for (const Bytes& piece : pieces) {
            for (const std::uint8_t byte : piece)
                open = byte == 0xF7 ? 0 : (byte == 0xF0 ? 1 : (open + 1) % 3);
            after.push_back(open);
        }
        return after;
    };
    StartFetch();
    ASSERT_TRUE(Feed(FetchAnswer(1, tone)));
    exchange.PreferFetchForm(midi::FetchForm::Whole);
    StartFetch();
    ASSERT_TRUE(Feed(FetchAnswer(1, tone)));
    ASSERT_EQ(exchange.StartWrite(1, kInternal3, tone, midi::Confirmation::FromSynth, now),
              StartOutcome::Started);
    ASSERT_TRUE(Feed(WriteConfirmation(1)));
    ASSERT_EQ(sink.sent.size(), 4u);
    EXPECT_THAT(held(sink.sent), ::testing::Each(0u));
    const Bytes request = Request();
    EXPECT_THAT(held({Bytes(request.begin(), request.begin() + 7)}), ElementsAre(1u))
        << "a request without its go-ahead would leave its memory byte behind";
}

struct FailureCase {
    const char* name;
    midi::ExchangeKind kind;
    Bytes answer;  // what arrives after the request, in one piece
    ExchangeOutcome outcome;
    std::string text;
};

TEST_F(ToneExchange, EveryFailureIsNamedWithItsStepAndLeavesTheMachineIdle) {
    using enum ExchangeOutcome;
    constexpr auto kFetch = midi::ExchangeKind::Fetch;
    constexpr auto kWrite = midi::ExchangeKind::Write;
    const std::vector<FailureCase> cases{
        {"silent",
         kFetch,
         {},
         NoAnswer,
         "no answer from the synth to the request for internal memory 3"},
        {"other channel", kFetch, FetchAnswer(2, tone), NoAnswer,
         "no answer from the synth to the request for internal memory 3"},
        {"acknowledgement only", kFetch, Acknowledgement(1), StoppedAfterAcknowledgement,
         "the synth stopped after acknowledging the request for internal memory 3"},
        {"short, closed", kFetch, FetchAnswer(1, tone, 120), ShortAnswer,
         "short answer: 120 of 256 data bytes from internal memory 3"},
        {"short, stopped", kFetch, FetchAnswer(1, tone, 120, false), ShortAnswer,
         "short answer: 120 of 256 data bytes from internal memory 3"},
        {"cut by a note", kFetch, Joined({FetchAnswer(1, tone, 7, false), {0x90, 0x3C, 0x40}}),
         ShortAnswer, "short answer: 7 of 256 data bytes from internal memory 3"},
        {"long", kFetch, FetchAnswer(1, tone, 257), UnexpectedAnswer,
         "unexpected answer to the request for internal memory 3: more than 256 data bytes"},
        {"silent",
         kWrite,
         {},
         NoAnswer,
         "no answer from the synth to the write to internal memory 3; nothing came back"},
        {"acknowledgement only", kWrite, Joined({{0xF8}, Acknowledgement(1)}),
         StoppedAfterAcknowledgement,
         "the synth stopped after acknowledging the write to internal memory 3; the synth sent "
         "F0 44 00 00 70 30"},
        {"a fetch's answer", kWrite, FetchAnswer(1, TestTone(1)), UnexpectedAnswer,
         "the synth did not confirm the write to internal memory 3; the synth sent F0 44 00 00 70 "
         "30 05"},
        {"the go-ahead on another channel", kWrite,
         Joined({Acknowledgement(1), {0x71, 0x31, 0xF7}}), UnexpectedAnswer,
         "the synth did not confirm the write to internal memory 3; the synth sent F0 44 00 00 70 "
         "30 71"},
        {"an acknowledgement cut short", kWrite, Joined({Acknowledgement(1), {0x70, 0xF7}}),
         UnexpectedAnswer,
         "the synth did not confirm the write to internal memory 3; the synth sent F0 44 00 00 70 "
         "30 70 F7"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(std::string(c.kind == kFetch ? "fetch, " : "write, ") + c.name);
        sink.sent.clear();
        now += 10s;  // quiet after the case before
        if (c.kind == kFetch)
            StartFetch();
        else
            ASSERT_EQ(exchange.StartWrite(1, kInternal3, tone, midi::Confirmation::FromSynth, now),
                      StartOutcome::Started);
        auto result = Feed(c.answer);
        if (!result) result = WaitForEnd();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, c.outcome);
        EXPECT_EQ(result->Describe(), c.text);
        EXPECT_FALSE(result->tone);
        EXPECT_FALSE(exchange.Busy());
        // A fetch's open request is closed whatever happened, and one without an answer is
        // asked once more as a whole message; a write's message is whole.
        if (c.kind == kWrite)
            EXPECT_EQ(sink.sent.size(), 1u);
        else if (c.outcome == NoAnswer)
            EXPECT_THAT(sink.sent, ElementsAre(Request(), kClose, WholeRequest()));
        else
            EXPECT_THAT(sink.sent, ElementsAre(Request(), kClose));
    }
}

// The synth answered the request for internal memory 3 too late; the next request, for
// internal memory 4, must not take that answer for its own.
TEST_F(ToneExchange, ALateAnswerIsNeverTakenForTheNextOne) {
    FailOnce();
    now += 50ms;
    StartFetch(SynthMemory::Internal(4));
    EXPECT_TRUE(sink.sent.empty()) << "the request waits for the input to fall quiet";
    EXPECT_FALSE(Feed(FetchAnswer(1, tone)));
    EXPECT_FALSE(Wait(299ms));
    EXPECT_TRUE(sink.sent.empty()) << "the late answer started the quiet spell again";
    EXPECT_FALSE(Wait(1ms));
    EXPECT_THAT(sink.sent, ElementsAre(Request(SynthMemory::Internal(4))));
    const auto result = Feed(FetchAnswer(1, TestTone(4)));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tone, TestTone(4));
}

TEST_F(ToneExchange, InputBeforeTheRequestIsDropped) {
    EXPECT_FALSE(Feed(FetchAnswer(1, TestTone(9), 100, false)));
    StartFetch();
    const auto result = Feed(FetchAnswer(1, tone));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tone, tone);
}

TEST_F(ToneExchange, RealtimeBytesDoNotKeepTheInputFromFallingQuiet) {
    FailOnce();
    StartFetch();
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(Feed({0xF8, 0xFE}));
        EXPECT_FALSE(Wait(10ms));
    }
    EXPECT_THAT(sink.sent, ElementsAre(Request()));
}

TEST_F(ToneExchange, ARequestThatNeverFindsQuietFailsUnsent) {
    FailOnce();
    StartFetch();
    std::optional<ExchangeResult> result;
    for (int i = 0; i < 60 && !result; ++i) {
        result = Feed({0x90, 0x3C, 0x40});
        if (!result) result = Wait(100ms);
    }
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, ExchangeOutcome::InputNeverQuiet);
    EXPECT_EQ(result->Describe(),
              "the MIDI input never fell quiet, so the request for internal memory 3 was not sent");
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(ToneExchange, CancelEndsEveryStepCleanlyAndTheNextRequestWaitsForQuiet) {
    struct Case {
        const char* step;
        bool afterFailure;  // the request waits for quiet
        Bytes before;       // what arrived before the cancel
    };
    const std::vector<Case> cases{{"awaiting quiet", true, {}},
                                  {"awaiting the acknowledgement", false, {}},
                                  {"in the data", false, FetchAnswer(1, tone, 100, false)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        now += 10s;
        if (c.afterFailure) FailOnce();
        sink.sent.clear();
        StartFetch();
        EXPECT_FALSE(Feed(c.before));
        const auto result = exchange.Cancel(now);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, ExchangeOutcome::Cancelled);
        EXPECT_EQ(result->Describe(), "the request for internal memory 3 was cancelled");
        EXPECT_FALSE(exchange.Busy());
        EXPECT_FALSE(exchange.Cancel(now));
        // The open request is closed if it went out.
        const std::vector<Bytes> sent{Request(), kClose};
        EXPECT_EQ(sink.sent, c.afterFailure ? std::vector<Bytes>{} : sent);

        sink.sent.clear();
        StartFetch();
        EXPECT_TRUE(sink.sent.empty());
        EXPECT_FALSE(Wait(300ms));
        EXPECT_THAT(sink.sent, ElementsAre(Request()));
        ASSERT_EQ(Feed(FetchAnswer(1, tone))->tone, tone);
    }
}

TEST_F(ToneExchange, RefusedStartsSendNothing) {
    ToneRecord unsendable = tone;
    unsendable[200] = 128;
    EXPECT_EQ(exchange.StartFetch(0, kInternal3, now), StartOutcome::InvalidChannel);
    EXPECT_EQ(exchange.StartFetch(17, kInternal3, now), StartOutcome::InvalidChannel);
    EXPECT_EQ(exchange.StartWrite(1, kInternal3, unsendable, midi::Confirmation::FromSynth, now),
              StartOutcome::UnsendableTone);
    EXPECT_TRUE(sink.sent.empty());
    EXPECT_FALSE(exchange.Busy());
    StartFetch();
    EXPECT_EQ(exchange.StartWrite(1, kInternal3, tone, midi::Confirmation::FromSynth, now),
              StartOutcome::Busy);
    EXPECT_EQ(sink.sent.size(), 1u);
}

}  // namespace
}  // namespace voxtane::testing
