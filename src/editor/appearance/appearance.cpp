#include "editor/appearance/appearance.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace voxtane::editor {
namespace {

std::string Folded(std::string_view word) {
    std::string folded;
    for (const char c : word) {
        if (c == '-' || c == '_') continue;
        folded += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded;
}

// The value of `--name VALUE` or `--name=VALUE` at `arguments[i]`, moving `i` past it.
std::optional<std::string> ValueOf(const std::vector<std::string>& arguments, std::size_t& i,
                                   std::string_view name) {
    const std::string_view argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size()) return std::string();
        return arguments[++i];
    }
    if (argument.size() > name.size() && argument.starts_with(name) && argument[name.size()] == '=')
        return std::string(argument.substr(name.size() + 1));
    return std::nullopt;
}

}  // namespace

std::string_view WordOf(Theme theme) {
    for (const ThemeName& name : kThemeNames)
        if (name.theme == theme) return name.word;
    return kThemeNames.front().word;
}

std::optional<Theme> ThemeFromWord(std::string_view word) {
    const std::string folded = Folded(word);
    for (const ThemeName& name : kThemeNames)
        if (Folded(name.word) == folded) return name.theme;
    return std::nullopt;
}

std::optional<int> ZoomFromText(std::string_view text) {
    if (text.ends_with('%')) text.remove_suffix(1);
    int percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (percent < kActualSize || percent > kLargestZoom) return std::nullopt;
    return percent;
}

int ZoomedIn(int percent) {
    const auto above = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return above == kZoomSteps.end() ? kLargestZoom : *above;
}

int ZoomedOut(int percent) {
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return below == kZoomSteps.begin() ? kActualSize : *std::prev(below);
}

AppearanceOptions ReadAppearanceOptions(const std::vector<std::string>& arguments) {
    AppearanceOptions options;
    for (std::size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        if (const auto word = ValueOf(arguments, i, "--theme")) {
            options.theme = ThemeFromWord(*word);
            if (!options.theme)
                options.error =
                    "--theme takes system, light, dark or high-contrast, not \"" + *word + "\"";
        } else if (const auto percent = ValueOf(arguments, i, "--zoom")) {
            options.zoomPercent = ZoomFromText(*percent);
            if (!options.zoomPercent)
                options.error = "--zoom takes a percent from " + std::to_string(kActualSize) +
                                " to " + std::to_string(kLargestZoom) + ", not \"" + *percent +
                                "\"";
        }
    }
    return options;
}

}  // namespace voxtane::editor
