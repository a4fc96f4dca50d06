#pragma once

#include <functional>

#include "editor/appearance/appearance.h"
#include "editor/settings_store.h"

namespace voxtane::editor {

// The look the user chose in the View menu, kept in the settings between runs. A look given on
// the command line holds for this run and is not kept; a choice made in the menu afterwards is.
class AppearanceChoice {
  public:
    enum class Change { Unchanged, Changed };

    AppearanceChoice(SettingsStore& settings, const AppearanceOptions& forThisRun = {});

    [[nodiscard]] const Appearance& Current() const { return current_; }

    // Called with the new look after each change, never when a choice left it as it was.
    void OnChange(std::function<void(const Appearance&)> listener) {
        listener_ = std::move(listener);
    }

    Change ChooseTheme(Theme theme);
    Change ZoomIn();
    Change ZoomOut();
    Change ActualSize();

  private:
    Change Become(Appearance next);

    SettingsStore& settings_;
    Appearance current_;
    std::function<void(const Appearance&)> listener_;
};

}  // namespace voxtane::editor
