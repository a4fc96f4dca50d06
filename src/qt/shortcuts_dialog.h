#pragma once

#include <QMainWindow>

namespace voxtane::qt {

// Help > Keyboard Shortcuts: a table of the keys that move around the window and of every menu
// entry and jump of `window` that has a shortcut, read from the entries themselves so that the
// list cannot fall behind them. Runs modally until closed.
void ShowKeyboardShortcuts(QMainWindow& window);

}  // namespace voxtane::qt
