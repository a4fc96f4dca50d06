#pragma once

#include <QPalette>

#include "editor/appearance/colours.h"

namespace voxtane::qt {

[[nodiscard]] QPalette::ColorRole PaletteRoleOf(editor::ColourRole role);
[[nodiscard]] QColor ColourOf(editor::Rgb rgb);

// The whole palette of a theme: every role in every colour group, disabled text greyed.
[[nodiscard]] QPalette PaletteOf(const editor::ThemeColours& colours);

}  // namespace voxtane::qt
