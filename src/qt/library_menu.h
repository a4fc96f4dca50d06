#pragma once

#include <QMenuBar>
#include <filesystem>
#include <functional>

#include "editor/editor_run.h"
#include "voice/live_voice.h"

namespace voxtane::qt {

// The Library menu, inserted before `before`: "Library..." (Ctrl+L) shows the Library window
// over the library at `path`, made the first time; "Add Folder..." asks for a folder, adds it to
// the library and scans. Tones are heard on the voice `voice` gives, as in Explore.
void AddLibraryMenu(QMenuBar& bar, QAction* before, QWidget& window, editor::EditorRun& run,
                    std::filesystem::path path, std::function<voice::LiveVoice*()> voice,
                    std::function<void()> restoreVoice);

}  // namespace voxtane::qt
