// Theme names, zoom steps, the command line's look and the choice kept between runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/appearance/appearance.h"
#include "editor/appearance/appearance_choice.h"
#include "editor/settings_store.h"

namespace voxtane::editor {
namespace {

TEST(ThemeNames, WordsReadBackInAnySpelling) {
    for (const ThemeName& name : kThemeNames)
        EXPECT_EQ(ThemeFromWord(WordOf(name.theme)), name.theme);
    const std::vector<std::pair<std::string, std::optional<Theme>>> cases = {
        {"Dark", Theme::Dark},
        {"HIGH-CONTRAST", Theme::HighContrast},
        {"highcontrast", Theme::HighContrast},
        {"high_contrast", Theme::HighContrast},
        {"", std::nullopt},
        {"darker", std::nullopt},
        {"contrast", std::nullopt},
    };
    for (const auto& [word, theme] : cases) EXPECT_EQ(ThemeFromWord(word), theme) << word;
}

TEST(ZoomText, WholePercentsInRangeOnly) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"100", 100},           {"200", 200},
        {"150%", 150},          {"133", 133},
        {"99", std::nullopt},   {"201", std::nullopt},
        {"", std::nullopt},     {"%", std::nullopt},
        {"1e2", std::nullopt},  {"150.5", std::nullopt},
        {"-150", std::nullopt}, {" 150", std::nullopt},
    };
    for (const auto& [text, percent] : cases) EXPECT_EQ(ZoomFromText(text), percent) << text;
}

// For every percent a command line may give: Zoom In reaches the nearest step above, Zoom Out the
// nearest below, and both stop at the ends.
TEST(ZoomSteps, InAndOutReachTheNeighbouringStep) {
    EXPECT_TRUE(std::is_sorted(kZoomSteps.begin(), kZoomSteps.end()));
    for (int percent = kActualSize; percent <= kLargestZoom; ++percent) {
        const int in = ZoomedIn(percent);
        const int out = ZoomedOut(percent);
        EXPECT_TRUE(std::ranges::find(kZoomSteps, in) != kZoomSteps.end()) << percent;
        EXPECT_TRUE(std::ranges::find(kZoomSteps, out) != kZoomSteps.end()) << percent;
        EXPECT_EQ(in == percent, percent == kLargestZoom) << percent;
        EXPECT_EQ(out == percent, percent == kActualSize) << percent;
        for (const int step : kZoomSteps) {
            EXPECT_FALSE(step > percent && step < in) << percent;
            EXPECT_FALSE(step < percent && step > out) << percent;
        }
    }
    for (std::size_t i = 0; i + 1 < kZoomSteps.size(); ++i)
        EXPECT_EQ(ZoomedOut(ZoomedIn(kZoomSteps[i])), kZoomSteps[i]);
}

TEST(AppearanceOptions, ReadFromTheCommandLine) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<Theme> theme;
        std::optional<int> zoom;
        bool error;
    };
    const std::vector<Case> cases = {
        {{}, std::nullopt, std::nullopt, false},
        {{"--library", "x", "--theme", "dark"}, Theme::Dark, std::nullopt, false},
        {{"--zoom=175", "--theme=high-contrast"}, Theme::HighContrast, 175, false},
        {{"--zoom", "150%"}, std::nullopt, 150, false},
        {{"--theme"}, std::nullopt, std::nullopt, true},
        {{"--theme", "blue"}, std::nullopt, std::nullopt, true},
        {{"--zoom", "300"}, std::nullopt, std::nullopt, true},
        {{"--zoom="}, std::nullopt, std::nullopt, true},
        // Another option's value is not read as an option.
        {{"--library", "--zoom"}, std::nullopt, std::nullopt, true},
        {{"--themes", "dark"}, std::nullopt, std::nullopt, false},
    };
    for (const Case& test : cases) {
        const AppearanceOptions options = ReadAppearanceOptions(test.arguments);
        const std::string shown = ::testing::PrintToString(test.arguments);
        EXPECT_EQ(!options.error.empty(), test.error) << shown;
        if (test.error) continue;
        EXPECT_EQ(options.theme, test.theme) << shown;
        EXPECT_EQ(options.zoomPercent, test.zoom) << shown;
    }
}

struct Recorder {
    std::vector<Appearance> seen;
    void Listen(AppearanceChoice& choice) {
        choice.OnChange([this](const Appearance& look) { seen.push_back(look); });
    }
};

TEST(AppearanceChoice, KeptBetweenRunsAndReportedOnlyWhenChanged) {
    MemorySettings settings;
    {
        AppearanceChoice first(settings);
        EXPECT_EQ(first.Current(), Appearance{});
        Recorder recorder;
        recorder.Listen(first);
        EXPECT_EQ(first.ZoomOut(), AppearanceChoice::Change::Unchanged);
        EXPECT_EQ(first.ChooseTheme(Theme::System), AppearanceChoice::Change::Unchanged);
        EXPECT_EQ(first.ChooseTheme(Theme::Dark), AppearanceChoice::Change::Changed);
        EXPECT_EQ(first.ZoomIn(), AppearanceChoice::Change::Changed);
        EXPECT_EQ(first.ZoomIn(), AppearanceChoice::Change::Changed);
        EXPECT_EQ(first.ChooseTheme(Theme::Dark), AppearanceChoice::Change::Unchanged);
        EXPECT_EQ(recorder.seen, (std::vector<Appearance>{
                                     {Theme::Dark, 100}, {Theme::Dark, 110}, {Theme::Dark, 125}}));
    }
    AppearanceChoice second(settings);
    EXPECT_EQ(second.Current(), (Appearance{Theme::Dark, 125}));
    EXPECT_EQ(second.ActualSize(), AppearanceChoice::Change::Changed);
    EXPECT_EQ(second.ActualSize(), AppearanceChoice::Change::Unchanged);
    EXPECT_EQ(AppearanceChoice(settings).Current(), (Appearance{Theme::Dark, 100}));
}

TEST(AppearanceChoice, CommandLineLookHoldsForOneRun) {
    MemorySettings settings;
    (void)AppearanceChoice(settings).ChooseTheme(Theme::Light);
    AppearanceOptions forThisRun;
    forThisRun.zoomPercent = 150;
    forThisRun.theme = Theme::HighContrast;
    EXPECT_EQ(AppearanceChoice(settings, forThisRun).Current(),
              (Appearance{Theme::HighContrast, 150}));
    EXPECT_EQ(AppearanceChoice(settings).Current(), (Appearance{Theme::Light, 100}));
    // A choice made in the menu of such a run is kept, with the rest of the look it shows.
    AppearanceChoice run(settings, forThisRun);
    EXPECT_EQ(run.ZoomIn(), AppearanceChoice::Change::Changed);
    EXPECT_EQ(AppearanceChoice(settings).Current(), (Appearance{Theme::HighContrast, 175}));
}

TEST(AppearanceChoice, UnreadableStoredValuesLeaveTheDefault) {
    for (const auto& [theme, zoom] : std::vector<std::pair<std::string, std::string>>{
             {"purple", "1000"}, {"", ""}, {"dark", "abc"}, {"x", "110"}}) {
        MemorySettings settings;
        settings.Write("appearance/theme", theme);
        settings.Write("appearance/zoom", zoom);
        const Appearance read = AppearanceChoice(settings).Current();
        EXPECT_EQ(read.theme, theme == "dark" ? Theme::Dark : Theme::System) << theme;
        EXPECT_EQ(read.zoomPercent, zoom == "110" ? 110 : 100) << zoom;
    }
}

}  // namespace
}  // namespace voxtane::editor
