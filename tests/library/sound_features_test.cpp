// "Sounds like this": a tone a step away in one parameter comes out nearest, ahead of tones of
// other waveforms and other timbres.
#include <gtest/gtest.h>

#include <set>

#include "library/library.h"
#include "library/sound_features.h"
#include "library/tone_identity.h"
#include "sound_check.h"
#include "test_support.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"
#include "tone_collection.h"

namespace voxtane::testing {
namespace {

using namespace voxtane::library;
using voice::testing::HeldTone;
using voice::testing::SetEnvelope;

TEST(library_features, AToneOneStepAwayIsNearestAheadOfUnrelatedTones) {
    std::vector<ToneRecord> unrelated;
    for (const int waveform : {1, 2, 3, 4, 5, 6, 7, 8})
        for (const int dcw : {0, 40, 80, 99})
            unrelated.push_back(EncodeWholeTone(HeldTone(waveform, dcw)));

    struct Case {
        const char* what;
        DecodedTone base;
        DecodedTone step;
    };
    std::vector<Case> cases;
    cases.push_back({"DCW level 60 to 61", HeldTone(2, 60), HeldTone(2, 61)});
    cases.push_back({"DCW level 20 to 21 of a resonance", HeldTone(6, 20), HeldTone(6, 21)});
    DecodedTone slower = HeldTone(1, 60);
    for (const int line : {1, 2})
        SetEnvelope(slower, EnvelopeOf(EnvelopeKind::DCA, line), {{98, 99}, {50, 0}}, 0, 1);
    cases.push_back({"DCA attack rate 99 to 98", HeldTone(1, 60), slower});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::vector<ToneRecord> tones = unrelated;
        tones.push_back(EncodeWholeTone(c.step));
        std::vector<ToneRecord> bank;
        for (std::size_t i = 0; i < tones.size(); ++i) {
            bank.push_back(tones[i]);
            if (bank.size() == 16 || i + 1 == tones.size()) {
                WriteBankFile(folder.path() / ("bank" + std::to_string(i) + ".syx"), bank, {});
                bank.clear();
            }
        }
        Library::Opened opened = Library::Open(folder.path() / "db" / "l.sqlite");
        ASSERT_TRUE(opened.result.ok());
        ASSERT_TRUE(opened.library->AddFolders({folder.path().string()}).ok());
        ScanReport report;
        ASSERT_TRUE(opened.library->Scan(report).ok());
        std::vector<SimilarTone> found;
        const LibraryResult similar = opened.library->Similar(EncodeWholeTone(c.base), 3, found);
        ASSERT_TRUE(similar.ok()) << similar.message;
        ASSERT_EQ(found.size(), 3u);
        EXPECT_EQ(found[0].tone.hash, ToneHash(EncodeWholeTone(c.step)))
            << "nearest at " << found[0].distance << ", then " << found[1].distance;
        EXPECT_LT(found[0].distance, found[1].distance);
    }
}

// The nearest come in order of the distance between their measurements, and follow the library
// as files come and go while the measurements are kept in memory.
TEST(library_features, TheNearestFollowTheLibraryAsFilesComeAndGo) {
    TempFolder folder;
    std::mt19937 random(5);
    std::vector<std::vector<ToneRecord>> banks(3);
    for (auto& bank : banks)
        for (int i = 0; i < 12; ++i) bank.push_back(RandomToneRecord(random));
    auto bankPath = [&](std::size_t b) {
        return folder.path() / std::string("b").append(std::to_string(b)).append(".syx");
    };
    for (std::size_t b = 0; b < 2; ++b) WriteBankFile(bankPath(b), banks[b], {});
    Library::Opened opened = Library::Open(folder.path() / "db" / "l.sqlite");
    ASSERT_TRUE(opened.result.ok());
    Library& lib = *opened.library;
    ASSERT_TRUE(lib.AddFolders({folder.path().string()}).ok());
    auto measure = [](const ToneRecord& r) {
        return MeasureSound(DecodeTone(r, DefaultDecodedTone()).tone);
    };
    const ToneRecord target = banks[0][3];
    auto expectNearest = [&](const std::vector<std::size_t>& present) {
        ScanReport report;
        ASSERT_TRUE(lib.Scan(report).ok());
        std::vector<SimilarTone> found;
        ASSERT_TRUE(lib.Similar(target, 100, found).ok());
        std::set<std::string> expected, got;
        for (const std::size_t b : present)
            for (const ToneRecord& r : banks[b]) expected.insert(ToneHash(r));
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(found.front().tone.hash, ToneHash(target));
        for (std::size_t i = 0; i < found.size(); ++i) {
            got.insert(found[i].tone.hash);
            if (i > 0) {
                EXPECT_LE(found[i - 1].distance, found[i].distance);
            }
            ToneRecord record{};
            ASSERT_TRUE(lib.Record(found[i].tone.hash, record).ok());
            EXPECT_NEAR(found[i].distance, FeatureDistance(measure(target), measure(record)),
                        1e-3 * (1 + found[i].distance));
        }
        EXPECT_EQ(got, expected);
    };
    expectNearest({0, 1});
    WriteBankFile(bankPath(2), banks[2], {});
    expectNearest({0, 1, 2});
    std::filesystem::remove(bankPath(1));
    expectNearest({0, 2});
}

}  // namespace
}  // namespace voxtane::testing
