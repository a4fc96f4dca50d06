#pragma once

#include <QStringList>

#include "editor/appearance/appearance.h"

namespace voxtane::qt {

class FixedLayoutZoom;

// Puts a look on the whole application: the theme's palette (the desktop's own for System) and
// text grown by the zoom in every window; the main window's fixed arrangement grows through its
// FixedLayoutZoom. The desktop's look, as the application had it first, comes back when this
// object goes.
class ShownAppearance {
  public:
    explicit ShownAppearance(FixedLayoutZoom& mainWindowZoom);
    ~ShownAppearance();
    ShownAppearance(const ShownAppearance&) = delete;
    ShownAppearance& operator=(const ShownAppearance&) = delete;

    void Show(const editor::Appearance& appearance);

  private:
    FixedLayoutZoom& zoom_;
    editor::Appearance shown_;
};

// The look asked for on the command line (`--theme`, `--zoom`); a value not understood asks for
// nothing (the program has said so on starting).
[[nodiscard]] editor::AppearanceOptions AppearanceFromArguments(const QStringList& arguments);

}  // namespace voxtane::qt
