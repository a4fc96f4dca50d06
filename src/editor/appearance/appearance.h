#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voxtane::editor {

// How the windows look: the colours they are drawn in and how large the main window's fixed
// arrangement and every window's text are shown.
enum class Theme { System, Light, Dark, HighContrast };

struct ThemeName {
    Theme theme;
    std::string_view word;     // on the command line and in the settings: "high-contrast"
    std::string_view caption;  // in the View menu: "&High Contrast"
};

inline constexpr std::array<ThemeName, 4> kThemeNames = {{
    {Theme::System, "system", "&System"},
    {Theme::Light, "light", "&Light"},
    {Theme::Dark, "dark", "&Dark"},
    {Theme::HighContrast, "high-contrast", "&High Contrast"},
}};

// The zoom of the main window, in percent of its designed size; Zoom In and Zoom Out step
// through these, a command line may ask for any whole percent between the first and the last.
inline constexpr std::array<int, 6> kZoomSteps = {100, 110, 125, 150, 175, 200};
inline constexpr int kActualSize = kZoomSteps.front();
inline constexpr int kLargestZoom = kZoomSteps.back();

struct Appearance {
    Theme theme = Theme::System;
    int zoomPercent = kActualSize;

    friend bool operator==(const Appearance&, const Appearance&) = default;
};

[[nodiscard]] std::string_view WordOf(Theme theme);
// Any letter case; "highcontrast" and "high_contrast" are taken for "high-contrast".
[[nodiscard]] std::optional<Theme> ThemeFromWord(std::string_view word);
// "150" or "150%", between kActualSize and kLargestZoom.
[[nodiscard]] std::optional<int> ZoomFromText(std::string_view text);

// The next step above (below) `percent`; the largest (smallest) step stays where it is.
[[nodiscard]] int ZoomedIn(int percent);
[[nodiscard]] int ZoomedOut(int percent);

// `--theme NAME` and `--zoom PERCENT` (or `--theme=NAME`, `--zoom=PERCENT`): a look for this run
// only. A value that is missing or not understood is an error, named in `error`.
struct AppearanceOptions {
    std::optional<Theme> theme;
    std::optional<int> zoomPercent;
    std::string error;
};
[[nodiscard]] AppearanceOptions ReadAppearanceOptions(const std::vector<std::string>& arguments);

}  // namespace voxtane::editor
