#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QWidget>

#include "editor/editor_run.h"

namespace voxtane::qt {

// What the window adds to the editor's File and Edit menus: Undo and Redo with the step's name,
// Compare (also as a button beside Play Note) with the tone controls read-only while comparing,
// the actions of Copy Patch, Paste Patch, Import and Export, and the unsaved-changes mark in the
// status bar. The text boxes' own undo gives way to the editor's one history.
void AddEditorAdditions(QMainWindow& window, QWidget& toneArea, editor::EditorRun& run);

}  // namespace voxtane::qt
