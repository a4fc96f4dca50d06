// The explorer's operations, as properties over random tones, seeds and locks.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "bank/bank_check.h"
#include "bank/sysex_bank_writer.h"
#include "explore/exploration.h"
#include "explore/explore_random.h"
#include "explore/operations.h"
#include "test_support.h"
#include "tone/default_tone.h"

namespace voxtane::explore {
namespace {

DecodedTone Decoded(const ToneRecord& record) {
    return DecodeTone(record, DefaultDecodedTone()).tone;
}

// Playable tones of every kind: the default, fresh ones and wild mutations of them.
std::vector<ToneRecord> Sources(int count) {
    std::vector<ToneRecord> sources{DefaultToneRecord()};
    for (int i = 0; sources.size() < static_cast<std::size_t>(count); ++i) {
        const Explored fresh = Randomise(static_cast<std::uint64_t>(i));
        sources.push_back(i % 2 ? fresh.tone : Mutate(fresh.tone, kPermille, 77 + i).tone);
    }
    return sources;
}

GroupLocks LocksFrom(std::uint64_t bits) {
    GroupLocks locks;
    for (int g = 0; g < kToneGroupCount; ++g) locks.Lock(ToneGroupAt(g), (bits >> g) & 1u);
    return locks;
}

TEST(Explore, AmountZeroIsTheIdentityAndLockedGroupsNeverChange) {
    const std::vector<ToneRecord> sources = Sources(24);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const ToneRecord& source = sources[i];
        EXPECT_EQ(Mutate(source, 0, i).tone, source) << i;
        const GroupLocks locks = LocksFrom(DeriveSeed(i, 5));
        const std::array<ToneRecord, 2> parents{source, sources[(i + 1) % sources.size()]};
        for (const ToneRecord& grown :
             {Mutate(source, kPermille, i, locks).tone, Mutate(source, 400, i, locks).tone,
              Breed(parents, i, locks, kPermille).tone}) {
            for (int g = 0; g < kToneGroupCount; ++g) {
                if (locks.Locked(ToneGroupAt(g))) {
                    EXPECT_TRUE(GroupEquals(Decoded(grown), Decoded(source), ToneGroupAt(g)))
                        << "source " << i << ", group " << kToneGroupNames[g];
                }
            }
        }
        EXPECT_EQ(Mutate(source, kPermille, i, LocksFrom(~0ull)).tone, source) << i;
    }
}

TEST(Explore, MutationGrowsWithTheAmountAndKeepsEnvelopesSensible) {
    const std::vector<ToneRecord> sources = Sources(16);
    std::array<int, 3> changedGroups{};
    const std::array<int, 3> amounts{50, 300, 900};
    for (std::size_t a = 0; a < amounts.size(); ++a)
        for (std::size_t i = 0; i < sources.size(); ++i) {
            DecodedTone tone = Decoded(sources[i]);
            MutateTone(tone, amounts[a], 1000 + i, {});
            for (int g = 0; g < kToneGroupCount; ++g)
                changedGroups[a] += !GroupEquals(tone, Decoded(sources[i]), ToneGroupAt(g));
            for (const DecodedEnvelope& envelope : tone.envelopes) {
                EXPECT_LE(envelope.sustainStep, envelope.endStep);
                for (const EnvelopeStep& step : envelope.steps) {
                    EXPECT_TRUE(step.rate >= 0 && step.rate <= 99 && step.level >= 0 &&
                                step.level <= 99);
                }
            }
        }
    EXPECT_LT(changedGroups[0], changedGroups[1]);
    EXPECT_LT(changedGroups[1], changedGroups[2]);
}

TEST(Explore, MorphGivesTheEndpointsAndValuesBetweenThem) {
    const std::vector<ToneRecord> sources = Sources(12);
    for (std::size_t i = 0; i + 1 < sources.size(); ++i) {
        const ToneRecord& a = sources[i];
        const ToneRecord& b = sources[i + 1];
        EXPECT_EQ(Morph(a, b, 0).tone, a);
        EXPECT_EQ(Morph(a, b, kPermille).tone, b);
        const DecodedTone da = Decoded(a), db = Decoded(b);
        for (int at : {1, 250, 500, 999}) {
            const DecodedTone m = Decoded(Morph(a, b, at).tone);
            EXPECT_GE(m.vibratoRate, std::min(da.vibratoRate, db.vibratoRate));
            EXPECT_LE(m.vibratoRate, std::max(da.vibratoRate, db.vibratoRate));
            const int level = m.envelopes[kDCA1].steps[0].level;
            EXPECT_GE(level, std::min(da.envelopes[kDCA1].steps[0].level,
                                      db.envelopes[kDCA1].steps[0].level));
            EXPECT_LE(level, std::max(da.envelopes[kDCA1].steps[0].level,
                                      db.envelopes[kDCA1].steps[0].level));
        }
    }
}

TEST(Explore, EachChildGroupComesFromOneParentBeforeTheMutation) {
    const std::vector<ToneRecord> sources = Sources(9);
    std::vector<DecodedTone> parents;
    for (const ToneRecord& source : sources) parents.push_back(Decoded(source));
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
        const std::span<const DecodedTone> some(parents.data() + seed % 4, 2 + seed % 5);
        const DecodedTone child = Crossover(some, seed, {});
        for (int g = 0; g < kToneGroupCount; ++g) {
            bool fromAParent = false;
            for (const DecodedTone& parent : some)
                fromAParent = fromAParent || GroupEquals(child, parent, ToneGroupAt(g));
            EXPECT_TRUE(fromAParent) << "seed " << seed << ", group " << kToneGroupNames[g];
        }
    }
}

TEST(Explore, EveryOutputPlaysAndSavesAsCheckExpects) {
    const std::vector<ToneRecord> sources = Sources(8);
    std::vector<ToneRecord> outputs;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const GroupLocks locks = LocksFrom(DeriveSeed(i, 9) & DeriveSeed(i, 10));
        const std::array<ToneRecord, 3> parents{sources[i], sources[(i + 3) % sources.size()],
                                                sources[(i + 5) % sources.size()]};
        for (const Explored& e :
             {Mutate(sources[i], 100 * (1 + i), i, locks), Mutate(sources[i], kPermille, i),
              Randomise(i * 7919), Breed(parents, i, locks)}) {
            EXPECT_EQ(e.playability, Playability::Plays) << i;
            EXPECT_EQ(CheckPlayable(e.tone), Playability::Plays) << i;
            outputs.push_back(e.tone);
        }
    }
    const testing::TempFolder folder;
    const std::string path = folder.File("grown.syx");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (std::size_t i = 0; i < kBankSlots; ++i) {
        const ToneDump dump = BuildToneDump(outputs[i], MemoryPosition(static_cast<int>(i) + 1));
        ASSERT_EQ(std::fwrite(dump.data(), 1, dump.size(), file), dump.size());
    }
    std::fclose(file);
    const BankCheckResult check = CheckSysexBank(path);
    EXPECT_EQ(check.status, BankCheckStatus::Exact)
        << (check.deviations.empty() ? "" : check.deviations.front().text);
}

TEST(Explore, TheSameSeedGivesTheSameBytesOnEveryMachine) {
    const auto hash = [](const std::vector<Explored>& tones) {
        std::uint64_t h = 14695981039346656037ull;  // FNV-1a
        for (const Explored& e : tones)
            for (std::int16_t entry : e.tone)
                h = (h ^ static_cast<std::uint16_t>(entry)) * 1099511628211ull;
        return h;
    };
    GenerationRequest one{{DefaultToneRecord()}, 400, LocksFrom(0b100000000001), 2026, 16};
    GenerationRequest two{
        {Randomise(1).tone, Randomise(2).tone, DefaultToneRecord()}, 600, {}, 7, 16};
    EXPECT_EQ(hash(GrowGeneration(one)), hash(GrowGeneration(one)));
    EXPECT_EQ(hash(GrowGeneration(one)), 864716057828410067u);
    EXPECT_EQ(hash(GrowGeneration(two)), 6124685346417534434u);
}

TEST(Explore, GenerationsGrowFromThePicksAndAreWalkedBackAndForward) {
    Exploration exploration;
    EXPECT_FALSE(exploration.Back() || exploration.Forward());
    exploration.locks.Lock(ToneGroup::DCA1);
    exploration.Start(DefaultToneRecord(), 3);
    const std::vector<Explored> first = exploration.Candidates();
    ASSERT_EQ(first.size(), 16u);
    const std::array<int, 2> picks{2, 9};
    exploration.Next(picks);
    EXPECT_EQ(exploration.Shown(), 2);
    for (const Explored& child : exploration.Candidates())
        for (int g = 0; g < kToneGroupCount; ++g) {
            // Before its small mutation every group came from a pick; most stay so after it.
            const DecodedTone c = Decoded(child.tone);
            EXPECT_TRUE(g != static_cast<int>(ToneGroup::DCA1) ||
                        GroupEquals(c, Decoded(first[2].tone), ToneGroupAt(g)));
        }
    const std::vector<Explored> second = exploration.Candidates();
    EXPECT_TRUE(exploration.Back());
    EXPECT_EQ(exploration.Candidates()[5].tone, first[5].tone);
    EXPECT_TRUE(exploration.Forward());
    EXPECT_FALSE(exploration.Forward());
    EXPECT_EQ(exploration.Candidates()[5].tone, second[5].tone);
    EXPECT_TRUE(exploration.Back());
    exploration.Next({});  // nothing picked: grown again from the first generation's parent
    EXPECT_EQ(exploration.Count(), 2);
    EXPECT_NE(exploration.Candidates()[5].tone, second[5].tone);
}

TEST(Explore, LockListsNameTheGroups) {
    std::string unknown;
    EXPECT_EQ(ParseGroupLocks("", unknown), GroupLocks{});
    const auto locks = ParseGroupLocks("dca1,keyfollow,,line", unknown);
    ASSERT_TRUE(locks);
    EXPECT_EQ(*locks, LocksFrom(0b100000100001));
    EXPECT_FALSE(ParseGroupLocks("dca1,dca3", unknown));
    EXPECT_EQ(unknown, "dca3");
    for (int g = 0; g < kToneGroupCount; ++g)
        EXPECT_EQ(ToneGroupNamed(kToneGroupNames[g]), ToneGroupAt(g));
}

}  // namespace
}  // namespace voxtane::explore
