#pragma once

#include <QMenuBar>

#include "editor/form1.h"

namespace voxtane::qt {

// The File, Edit and Help menus. Each entry is a QAction named after its control (cmdNew,
// cmdExit, ...) that calls its Form1 procedure; Import, Export, Copy Patch and Paste Patch have
// none. The Edit shortcuts Ctrl+C and Ctrl+V stay with a text field that has the focus, so
// copying and pasting text keeps working there.
// Returns the Help menu, before which the program's own menus go.
QMenu* AddMainMenu(QMenuBar& bar, editor::Form1& form);

}  // namespace voxtane::qt
