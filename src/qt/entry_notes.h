#pragma once

#include <QMainWindow>

#include "editor/form1.h"

namespace voxtane::qt {

// A box of an envelope that is left shows the number the tone holds for it; when that is not
// what was typed ("150", "ab", nothing), the status bar and the box's description say what was
// stored instead.
void ShowStoredEnvelopeEntries(QMainWindow& window, editor::Form1& form);

}  // namespace voxtane::qt
