#pragma once

#include <QWidget>

#include "editor/tone_controls.h"

namespace voxtane::qt {

// Size of the area that holds the window's controls: 11850 by 8310 twips.
[[nodiscard]] QSize ToneAreaSize();

// Puts every tone control into `area`, in five bands below the patch list: pitch and line
// select, vibrato and modulation, the waveforms, the key follow, and the six envelopes. Line 1
// of the tone takes the left half of the last three bands, line 2 the right half.
void AddToneControls(QWidget& area, editor::ToneControls& tone);

}  // namespace voxtane::qt
