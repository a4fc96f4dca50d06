#pragma once

#include <QMenuBar>
#include <filesystem>
#include <functional>

#include "editor/editor_run.h"
#include "voice/live_voice.h"

namespace voxtane::qt {

// The Tools menu with "Explore..." (Ctrl+E), inserted before `before`: the Explore window, made
// the first time and shown again afterwards, a child of `window`. Candidates are heard on the
// voice `voice` gives (the Voice window's, while it plays); `restoreVoice` gives that voice back
// its own tone after an audition; "Add to Library" adds to the library at `library`.
void AddToolsMenu(QMenuBar& bar, QAction* before, QWidget& window, editor::EditorRun& run,
                  std::filesystem::path library, std::function<voice::LiveVoice*()> voice,
                  std::function<void()> restoreVoice);

}  // namespace voxtane::qt
