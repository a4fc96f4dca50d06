#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "editor/controls.h"

// Binds widgets to the control model. The model holds the value and runs the editor's handlers;
// a widget only passes the user's actions in and shows the model's value. Widgets signal the
// model only on what the user did (clicks, edits, slider moves), never on a value the model set,
// so no handler runs twice for one change.
namespace voxtane::qt {

// Buttons of the group carry ids 0 to Count() - 1, the element indices.
void BindOptionArray(editor::OptionArray& model, QButtonGroup& group);
void BindScrollBar(editor::ScrollBar& model, QScrollBar& bar);
void BindLabel(editor::Label& model, QLabel& label);
// Element `index` of a text box array.
void BindTextBox(editor::TextBoxArray& model, int index, QLineEdit& edit);

}  // namespace voxtane::qt
