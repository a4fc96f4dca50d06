// "Send While Editing": edits coalesced into tone dumps to the temporary area.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "exchange_test_support.h"
#include "midi/dump_coalescer.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::EditDump;

struct Dump {
    midi::Clock::TimePoint at;
    Bytes bytes;
};

// Keeps when each dump was sent.
struct TimedSink : midi::MessageSink {
    explicit TimedSink(const midi::Clock::TimePoint& clock) : now(clock) {}
    midi::SinkStatus Send(std::span<const std::uint8_t> message) override {
        dumps.push_back({now, AsBytes(message)});
        return {};
    }
    const midi::Clock::TimePoint& now;
    std::vector<Dump> dumps;
};

struct DumpCoalescer : ::testing::Test {
    Bytes DumpOf(const ToneRecord& tone) const {
        return AsBytes(midi::BuildToneWrite(4, midi::SynthMemory::Current(), tone));
    }
    // Every two dumps at least 100 ms apart.
    void ExpectSpaced() const {
        for (std::size_t i = 1; i < sink.dumps.size(); ++i)
            EXPECT_GE(sink.dumps[i].at - sink.dumps[i - 1].at, 100ms) << "dump " << i;
    }

    midi::Clock::TimePoint now{};
    TimedSink sink{now};
    midi::DumpCoalescer coalescer{sink, 4};
};

TEST_F(DumpCoalescer, ABurstSendsTheFirstAndTheLastStateOnly) {
    std::vector<EditDump> taken;
    for (int edit = 1; edit <= 50; ++edit) {
        taken.push_back(coalescer.Edited(TestTone(edit), now));
        now += 1ms;
        coalescer.Tick(now);
    }
    for (int tick = 0; tick < 300; ++tick, now += 1ms) coalescer.Tick(now);
    ASSERT_EQ(sink.dumps.size(), 2u);
    EXPECT_EQ(sink.dumps[0].bytes, DumpOf(TestTone(1)));
    EXPECT_EQ(sink.dumps[1].bytes, DumpOf(TestTone(50)));
    EXPECT_EQ(taken.front(), EditDump::SentNow);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), EditDump::Waiting), 49);
    ExpectSpaced();
    EXPECT_FALSE(coalescer.Waiting());
}

// Edits and ticks at random moments: dumps stay spaced, each carries a newer state than the
// one before, and the last state always goes.
TEST_F(DumpCoalescer, AnyRhythmOfEditsKeepsTheSpacingAndSendsTheLastState) {
    std::mt19937 random(77);
    for (int trial = 0; trial < 50; ++trial) {
        sink.dumps.clear();
        midi::DumpCoalescer trialCoalescer(sink, 4);
        std::vector<Bytes> edits;
        for (int step = 0; step < 200; ++step) {
            now += std::chrono::milliseconds(std::uniform_int_distribution(0, 40)(random));
            if (random() % 3 == 0) {
                trialCoalescer.Tick(now);
                continue;
            }
            edits.push_back(DumpOf(TestTone(static_cast<int>(edits.size()))));
            (void)trialCoalescer.Edited(TestTone(static_cast<int>(edits.size()) - 1), now);
        }
        now += 100ms;
        trialCoalescer.Tick(now);
        ASSERT_FALSE(sink.dumps.empty());
        EXPECT_EQ(sink.dumps.back().bytes, edits.back()) << "trial " << trial;
        auto from = edits.begin();
        for (const Dump& dump : sink.dumps) {
            from = std::find(from, edits.end(), dump.bytes);
            ASSERT_NE(from, edits.end()) << "a dump out of order in trial " << trial;
        }
        ExpectSpaced();
    }
}

TEST_F(DumpCoalescer, AnUnsendableStateDropsTheStateWaitingBeforeIt) {
    ToneRecord unsendable = TestTone(2);
    unsendable[5] = 200;
    EXPECT_EQ(coalescer.Edited(TestTone(1), now), EditDump::SentNow);
    EXPECT_EQ(coalescer.Edited(TestTone(2), now), EditDump::Waiting);
    EXPECT_EQ(coalescer.Edited(unsendable, now), EditDump::NotSendable);
    coalescer.Tick(now += 1s);
    EXPECT_EQ(sink.dumps.size(), 1u);
}

}  // namespace
}  // namespace voxtane::testing
