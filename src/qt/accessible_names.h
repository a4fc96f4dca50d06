#pragma once

#include <QWidget>

#include "editor/tone_controls.h"

namespace voxtane::qt {

// Gives every widget of `window` named after a control the table of control words knows (an
// element "optLS(2)" or a whole control "hsFine") the accessible name that says what it is
// without looking, and the sentence on what it does as accessible description and tooltip. The
// envelope boxes' sentences follow where the sustain and end marks of `tone` stand.
void NameControls(QWidget& window, editor::ToneControls& tone);

}  // namespace voxtane::qt
