// Tones carried by a drag: what is encoded comes back whole, and anything else is refused; the
// patches a drop fills stop at patch 16.
#include <gtest/gtest.h>

#include <random>

#include "library/dragged_tones.h"
#include "tone_collection.h"

namespace voxtane::testing {
namespace {

using namespace voxtane::library;

std::vector<DraggedTone> RandomTones(std::mt19937& random) {
    std::vector<DraggedTone> tones(random() % 20);
    const std::vector<std::string> names{"", "Warm Brass", "Gl\xC3\xA4s", std::string(300, 'x')};
    for (DraggedTone& tone : tones)
        tone = {RandomToneRecord(random), names[random() % names.size()]};
    return tones;
}

TEST(dragged_tones, WhatIsEncodedComesBackAndWhatIsCutShortIsRefused) {
    std::mt19937 random(3);
    for (int round = 0; round < 50; ++round) {
        const std::vector<DraggedTone> tones = RandomTones(random);
        const std::vector<std::uint8_t> bytes = EncodeDraggedTones(tones);
        EXPECT_EQ(DecodeDraggedTones(bytes), tones);
        // Every shorter prefix is either refused or a whole prefix of the tones.
        const std::size_t cut = random() % bytes.size();
        const auto partial = DecodeDraggedTones(std::span(bytes).first(cut));
        if (partial) {
            ASSERT_LE(partial->size(), tones.size());
            EXPECT_TRUE(std::equal(partial->begin(), partial->end(), tones.begin()));
        }
    }
    const std::vector<std::uint8_t> other{'F', 'O', 'O', '1', 0, 0};
    EXPECT_EQ(DecodeDraggedTones(other), std::nullopt);
}

TEST(dragged_tones, APlacementStopsAtPatchSixteen) {
    struct Case {
        int first;
        std::size_t count;
        int placed;
        const char* text;
    };
    const std::vector<std::string> names{"A", "", "C"};
    for (const Case& c : std::initializer_list<Case>{
             {1, 3, 3, "Patches 1 to 3: A, (no name), C"},
             {15, 3, 2, "Patches 15 to 16: A, (no name) (1 tone does not fit)"},
             {16, 1, 1, "Patch 16: A"},
             {17, 3, 0, "No patch to put them in"},
             {0, 3, 0, "No patch to put them in"},
         }) {
        SCOPED_TRACE(c.first);
        const BankPlacement placement = PlaceInBank(c.first, c.count);
        EXPECT_EQ(placement.count, c.placed);
        EXPECT_EQ(DescribePlacement(placement, std::span(names).first(c.count)), c.text);
    }
}

}  // namespace
}  // namespace voxtane::testing
