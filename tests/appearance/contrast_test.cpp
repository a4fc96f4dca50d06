// The themes' colours against the WCAG 2.2 AA contrast ratios, for every pair the drawings use.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "editor/appearance/colours.h"

namespace voxtane::editor {
namespace {

TEST(ContrastRatio, KnownPairs) {
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, white), 1.0);
    // The grey that stands at 4.5:1 on white, a figure often quoted.
    EXPECT_NEAR(ContrastRatio({0x76, 0x76, 0x76}, white), 4.54, 0.01);
    EXPECT_NEAR(RelativeLuminance({255, 0, 0}), 0.2126, 1e-9);
    EXPECT_NEAR(RelativeLuminance({0, 255, 0}), 0.7152, 1e-9);
}

TEST(ContrastRatio, SymmetricBoundedAndFollowsLightness) {
    std::mt19937 random(23);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int i = 0; i < 2000; ++i) {
        const Rgb one{std::uint8_t(channel(random)), std::uint8_t(channel(random)),
                      std::uint8_t(channel(random))};
        const Rgb other{std::uint8_t(channel(random)), std::uint8_t(channel(random)),
                        std::uint8_t(channel(random))};
        const double ratio = ContrastRatio(one, other);
        EXPECT_DOUBLE_EQ(ratio, ContrastRatio(other, one));
        EXPECT_GE(ratio, 1.0);
        EXPECT_LE(ratio, 21.0);
        // A lighter grey never has less contrast with black.
        const std::uint8_t grey = one.red;
        const std::uint8_t lighter = std::uint8_t(std::min(255, grey + 1));
        EXPECT_LE(ContrastRatio({grey, grey, grey}, {}),
                  ContrastRatio({lighter, lighter, lighter}, {}));
    }
}

TEST(ThemeColours, SystemKeepsTheDesktopsOwn) {
    EXPECT_FALSE(ColoursOf(Theme::System));
    for (const Theme theme : {Theme::Light, Theme::Dark, Theme::HighContrast})
        EXPECT_TRUE(ColoursOf(theme));
}

// High Contrast meets AA for every pair; the table printed is the figure given in the notes.
TEST(ThemeColours, HighContrastMeetsAaForEveryDrawing) {
    const ThemeColours colours = *ColoursOf(Theme::HighContrast);
    for (const ColourPair& pair : kDrawingColours) {
        const double ratio = ContrastRatio(colours[pair.ink], colours[pair.ground]);
        std::printf("%-34s %5.2f:1 (needs %.1f)\n", std::string(pair.drawing).c_str(), ratio,
                    NeededRatio(pair.need));
        EXPECT_GE(ratio, NeededRatio(pair.need)) << pair.drawing;
    }
}

// Light and Dark are no accessibility themes, but their text still reads at AA.
TEST(ThemeColours, LightAndDarkTextReadsAtAa) {
    for (const Theme theme : {Theme::Light, Theme::Dark}) {
        const ThemeColours colours = *ColoursOf(theme);
        for (const ColourPair& pair : kDrawingColours) {
            if (pair.need != Need::Text) continue;
            EXPECT_GE(ContrastRatio(colours[pair.ink], colours[pair.ground]), 4.5)
                << WordOf(theme) << ": " << pair.drawing;
        }
    }
}

}  // namespace
}  // namespace voxtane::editor
