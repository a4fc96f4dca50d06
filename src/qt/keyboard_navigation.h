#pragma once

#include <QList>
#include <QMainWindow>
#include <QWidget>

// Everything the mouse does in the main window, reachable from the keyboard, in an order a
// listener can follow.
namespace voxtane::qt {

// The widgets inside `container` that Tab stops at, in reading order: the direct children row by
// row, each left to right; inside a group its controls row by row, whatever inner boxes they sit
// in. A control stands for the widgets inside it (a combo box for its text field).
[[nodiscard]] QList<QWidget*> ReadingOrder(QWidget& container);

// Tab follows ReadingOrder; Up and Down move between the text boxes of one column, as in a
// table; Ctrl+1 to Ctrl+6 go to the first box of each envelope; Help lists the shortcuts. The
// scroll area around `area` stays out of the tab chain, as its controls are reached one by one.
void AddKeyboardNavigation(QMainWindow& window, QWidget& area);

}  // namespace voxtane::qt
