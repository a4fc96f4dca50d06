#include "editor/appearance/appearance_choice.h"

#include <string>

namespace voxtane::editor {
namespace {

constexpr const char* kThemeKey = "appearance/theme";
constexpr const char* kZoomKey = "appearance/zoom";

// A stored value this version does not understand leaves the default in place.
Appearance Stored(const SettingsStore& settings) {
    Appearance stored;
    if (const auto word = settings.Read(kThemeKey))
        stored.theme = ThemeFromWord(*word).value_or(stored.theme);
    if (const auto percent = settings.Read(kZoomKey))
        stored.zoomPercent = ZoomFromText(*percent).value_or(stored.zoomPercent);
    return stored;
}

}  // namespace

AppearanceChoice::AppearanceChoice(SettingsStore& settings, const AppearanceOptions& forThisRun)
    : settings_(settings), current_(Stored(settings)) {
    if (forThisRun.theme) current_.theme = *forThisRun.theme;
    if (forThisRun.zoomPercent) current_.zoomPercent = *forThisRun.zoomPercent;
}

AppearanceChoice::Change AppearanceChoice::ChooseTheme(Theme theme) {
    Appearance next = current_;
    next.theme = theme;
    return Become(next);
}

AppearanceChoice::Change AppearanceChoice::ZoomIn() {
    Appearance next = current_;
    next.zoomPercent = ZoomedIn(current_.zoomPercent);
    return Become(next);
}

AppearanceChoice::Change AppearanceChoice::ZoomOut() {
    Appearance next = current_;
    next.zoomPercent = ZoomedOut(current_.zoomPercent);
    return Become(next);
}

AppearanceChoice::Change AppearanceChoice::ActualSize() {
    Appearance next = current_;
    next.zoomPercent = kActualSize;
    return Become(next);
}

AppearanceChoice::Change AppearanceChoice::Become(Appearance next) {
    if (next == current_) return Change::Unchanged;
    current_ = next;
    settings_.Write(kThemeKey, std::string(WordOf(current_.theme)));
    settings_.Write(kZoomKey, std::to_string(current_.zoomPercent));
    if (listener_) listener_(current_);
    return Change::Changed;
}

}  // namespace voxtane::editor
