#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

// What a screen reader finds in a window, walked through QAccessible as the desktop's
// accessibility bus walks it. Works on any window, so each new one is checked by naming it.
namespace voxtane::qttest {

// The shown controls a user works with, in tree order: buttons, options, boxes, bars, lists,
// menu bar entries. A compound control (a combo box, a list) counts once, without its parts.
[[nodiscard]] QList<QAccessibleInterface*> InteractiveControls(QWidget& window);

// What is wrong with the controls' names: empty ones and ones used twice. Empty when all is well.
[[nodiscard]] QStringList NameProblems(QWidget& window);

// The widgets focus visits when Tab is pressed once per tab stop, starting at the first control in
// the tree; `problems` gets what is wrong: a stop never visited or visited twice, focus leaving
// the controls. An exclusive option group is one stop, as the arrow keys move inside it.
[[nodiscard]] QList<QWidget*> TabTour(QWidget& window, QStringList& problems);

// The control's name as the screen reader says it.
[[nodiscard]] QString SpokenName(QAccessibleInterface* control);

}  // namespace voxtane::qttest
