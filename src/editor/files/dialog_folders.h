#pragma once

#include <string>

#include "editor/platform.h"
#include "editor/settings_store.h"

namespace voxtane::editor {

// The kinds of file the editor's dialogs ask for, each with a folder of its own.
enum class FileKind { Banks, Imports, Exports };

// Where each file dialog starts: in the folder last used for its kind of file, kept in the
// settings between runs; the first time, and when that folder is gone, in the user's documents
// folder. Never in the program's own folder, which an installed program cannot write.
class DialogFolders {
  public:
    DialogFolders(SettingsStore& settings, const Platform& platform)
        : settings_(settings), platform_(platform) {}

    [[nodiscard]] std::string Start(FileKind kind) const;
    // `chosen` was picked in a dialog for `kind`: a file, whose folder is kept, or for Exports
    // the folder itself.
    void Remember(FileKind kind, const std::string& chosen);

  private:
    SettingsStore& settings_;
    const Platform& platform_;
};

}  // namespace voxtane::editor
