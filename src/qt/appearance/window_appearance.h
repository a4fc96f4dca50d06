#pragma once

#include <QMainWindow>

#include "editor/settings_store.h"

namespace voxtane::qt {

// The View menu of the main window and the look it chooses: theme and zoom, kept in `settings`,
// or for this run as the command line asks. `area` holds the window's fixed arrangement, its
// text designed at `textPixels`; the window has its designed size now. The look goes with the
// window.
void AddAppearance(QMainWindow& window, QWidget& area, int textPixels,
                   editor::SettingsStore& settings);

}  // namespace voxtane::qt
