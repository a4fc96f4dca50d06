#pragma once

#include <QGroupBox>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "editor/controls.h"
#include "qt/option_pictures.h"

// Builders for the group boxes of the main window. Each creates its widgets at their place in the
// design, names every widget after the control it shows ("optLS(2)" for element 2 of optLS) and
// binds it to its model control.
namespace voxtane::qt {

// The widget name of element `index` of a control array.
[[nodiscard]] QString ElementName(const QString& arrayName, int index);

// A titled group box at `twips` (left, top, width, height) of the parent.
QGroupBox* AddGroup(QWidget& parent, const QString& name, const QString& title, QRect twips);

// Captioned option elements in one row at the group's standard top, element 0 leftmost. The
// group is widened when the captions need more room than it has.
void AddCaptionOptions(QGroupBox& group, const QString& name, editor::OptionArray& model,
                       const QStringList& captions);

// Picture option elements, four to a row.
void AddPictureOptions(QGroupBox& group, const QString& name, editor::OptionArray& model,
                       PictureSet pictures);

// Groups of one band, left to right, moved apart where widened groups would overlap and kept
// inside `width`; groups that fit keep their designed places.
void SettleBand(const std::vector<QGroupBox*>& groups, int width);

// A scroll bar with the label that shows its value.
void AddScrollBar(QGroupBox& group, const QString& barName, editor::ScrollBar& bar,
                  const QString& labelName, editor::Label& label);

}  // namespace voxtane::qt
