// Get Bank and Write Bank over the tone exchange, against answers written out byte by byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "exchange_test_support.h"
#include "midi/bank_exchange.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::BankOutcome;
using midi::BankResult;
using midi::StartOutcome;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct BankExchange : ::testing::Test {
    // Plays the synth: answers each new request in the sink, except for internal memory
    // `silentAt`, until the bank ends or `cancelAt` memories are done. Records the progress
    // seen after each step.
    std::optional<BankResult> Run(int silentAt = 0, int cancelAt = 0) {
        for (int step = 0; step < 100; ++step) {
            if (cancelAt != 0 && bank.Progress().done == cancelAt) return bank.Cancel(now);
            const Bytes& last = LastRequest();
            const int memory = last[6] - 0x20 + 1;
            const bool fetch = last[5] == kFetchToneCommand;
            const auto result =
                memory == silentAt
                    ? bank.Tick(now += 1s)
                    : bank.Receive(fetch ? FetchAnswer(1, TestTone(memory)) : WriteConfirmation(1),
                                   now);
            progress.push_back(bank.Progress().done);
            if (result) return result;
        }
        return std::nullopt;
    }
    // The last message with a memory in it: a fetch's close is a lone F7.
    const Bytes& LastRequest() const {
        return *std::find_if(sink.sent.rbegin(), sink.sent.rend(),
                             [](const Bytes& message) { return message.size() > 1; });
    }
    std::vector<int> Positions() const {
        std::vector<int> positions;
        for (const Bytes& message : sink.sent)
            if (message.size() > 1) positions.push_back(message[6]);
        return positions;
    }

    RecordingSink sink;
    midi::ToneExchange exchange{sink};
    midi::BankExchange bank{exchange};
    midi::Clock::TimePoint now{};
    std::vector<int> progress;
};

TEST_F(BankExchange, GetBankFetchesTheSixteenInternalMemoriesInOrder) {
    ASSERT_EQ(bank.StartGet(1, now), StartOutcome::Started);
    EXPECT_EQ(bank.Progress().total, 16);
    const auto result = Run();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, BankOutcome::Completed);
    EXPECT_EQ(result->Describe(), "fetched internal memories 1 to 16");
    ASSERT_EQ(result->tones.size(), 16u);
    for (int k = 1; k <= 16; ++k) EXPECT_EQ(result->tones[k - 1], TestTone(k)) << k;
    EXPECT_EQ(progress, std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_FALSE(bank.Busy());
}

TEST_F(BankExchange, AGetBankThatStopsEarlyGivesNothing) {
    struct Case {
        int silentAt;
        int cancelAt;
        BankOutcome outcome;
        int done;
        std::string text;
    };
    const std::vector<Case> cases{
        {5, 0, BankOutcome::Failed, 4,
         "Get Bank failed after 4 of 16 memories, nothing was taken: no answer from the synth "
         "to the request for internal memory 5"},
        {16, 0, BankOutcome::Failed, 15, "after 15 of 16 memories"},
        {0, 8, BankOutcome::Cancelled, 8,
         "Get Bank was cancelled after 8 of 16 memories, nothing was taken: the request for "
         "internal memory 9 was cancelled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        now += 10s;
        ASSERT_EQ(bank.StartGet(1, now), StartOutcome::Started);
        const auto result = Run(c.silentAt, c.cancelAt);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, c.outcome);
        EXPECT_TRUE(result->tones.empty());
        EXPECT_EQ(result->progress.done, c.done);
        EXPECT_THAT(result->Describe(), HasSubstr(c.text));
        EXPECT_FALSE(bank.Busy());
        EXPECT_FALSE(exchange.Busy());
    }
}

TEST_F(BankExchange, WriteBankWritesEachToneAfterTheConfirmationOfTheOneBefore) {
    const std::vector<ToneRecord> tones{TestTone(1), TestTone(2), TestTone(3)};
    ASSERT_EQ(bank.StartWrite(1, tones, midi::Confirmation::FromSynth, now), StartOutcome::Started);
    EXPECT_EQ(sink.sent.size(), 1u);
    const auto result = Run();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, BankOutcome::Completed);
    EXPECT_EQ(result->Describe(), "wrote internal memories 1 to 3");
    EXPECT_THAT(
        sink.sent,
        ElementsAre(AsBytes(midi::BuildToneWrite(1, midi::SynthMemory::Internal(1), tones[0])),
                    AsBytes(midi::BuildToneWrite(1, midi::SynthMemory::Internal(2), tones[1])),
                    AsBytes(midi::BuildToneWrite(1, midi::SynthMemory::Internal(3), tones[2]))));
}

TEST_F(BankExchange, AFailedWriteStopsTheBank) {
    const std::vector<ToneRecord> tones(5, TestTone(1));
    ASSERT_EQ(bank.StartWrite(1, tones, midi::Confirmation::FromSynth, now), StartOutcome::Started);
    const auto result = Run(2);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, BankOutcome::Failed);
    EXPECT_EQ(result->Describe(),
              "Write Bank failed after 1 of 5 memories (internal memory 1 was written, and "
              "internal memory 2 may have taken its tone): no answer from the synth to the write "
              "to internal memory 2; nothing came back");
    EXPECT_EQ(Positions(), std::vector<int>({0x20, 0x21}));
}

TEST_F(BankExchange, ABankThatCannotBeWrittenWholeIsNotStarted) {
    ToneRecord unsendable = TestTone(1);
    unsendable[1] = -1;
    const std::vector<ToneRecord> lastUnsendable{TestTone(1), TestTone(2), unsendable};
    EXPECT_EQ(bank.StartWrite(1, {}, midi::Confirmation::FromSynth, now),
              StartOutcome::InvalidToneCount);
    EXPECT_EQ(bank.StartWrite(1, std::vector<ToneRecord>(17), midi::Confirmation::FromSynth, now),
              StartOutcome::InvalidToneCount);
    EXPECT_EQ(bank.StartWrite(1, lastUnsendable, midi::Confirmation::FromSynth, now),
              StartOutcome::UnsendableTone);
    EXPECT_EQ(bank.StartGet(0, now), StartOutcome::InvalidChannel);
    EXPECT_TRUE(sink.sent.empty());
    EXPECT_FALSE(bank.Busy());
}

}  // namespace
}  // namespace voxtane::testing
