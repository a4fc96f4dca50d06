#pragma once

#include <string>

#include "editor/controls.h"
#include "voxtane_version.h"

namespace voxtane::editor {

// The about box: created with the main window, then only shown and hidden.
class AboutBox {
  public:
    const std::string Caption = "About Voxtane ver " + std::string(kVersion);
    Label Label1{"Voxtane"};
    Label Label4{"ver " + std::string(kVersion)};
    Label Label3{
        "Click on Help for more information concerning this program and contributions to it by "
        "other persons"};
    Label Label2{"Use this program at your own risk!"};
    const std::string cmdOKCaption = "OK";

    [[nodiscard]] bool Visible() const { return visible_; }
    void Show() { SetVisible(true); }
    void cmdOK_Click() { SetVisible(false); }

    Observers<> observers;

  private:
    void SetVisible(bool visible) {
        if (visible == visible_) return;
        visible_ = visible;
        observers.Notify();
    }
    bool visible_ = false;
};

}  // namespace voxtane::editor
