// "Sounds like this": a tone a step away in one parameter comes out nearest, ahead of tones of
// other waveforms and other timbres.
#include <gtest/gtest.h>

#include "library/library.h"
#include "library/tone_identity.h"
#include "sound_check.h"
#include "test_support.h"
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

}  // namespace
}  // namespace voxtane::testing
