#pragma once

#include <QMainWindow>
#include <QMenuBar>
#include <functional>

#include "editor/editor_run.h"

namespace voxtane::qt {

// The Synth menu (Get Patch..., Get Bank, Write Patch to Memory..., Write Bank to Memory, Send
// While Editing, All Notes Off, MIDI Setup..., Voice), inserted before `before`, and the link's
// view in the window: its status in the status bar and the progress of a bank with its Cancel
// button. Entries that start an exchange are disabled while one runs. "Voice" (F5) calls
// `showVoice`.
void AddSynthMenu(QMenuBar& bar, QAction* before, QMainWindow& window, editor::EditorRun& run,
                  std::function<void()> showVoice);

}  // namespace voxtane::qt
