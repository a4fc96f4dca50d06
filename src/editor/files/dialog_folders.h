#pragma once

#include <string>

#include "editor/file_folders.h"
#include "editor/platform.h"
#include "editor/settings_store.h"

namespace voxtane::editor {

// Where each file dialog starts: in the folder last used for its kind of file, kept in the
// settings between runs; the first time, and when that folder is gone, in the user's documents
// folder. Never in the program's own folder, which an installed program cannot write.
class DialogFolders : public FileFolders {
  public:
    DialogFolders(SettingsStore& settings, const Platform& platform)
        : settings_(settings), platform_(platform) {}

    [[nodiscard]] std::string Start(FileKind kind) const override;
    void Remember(FileKind kind, const std::string& chosen) override;

  private:
    SettingsStore& settings_;
    const Platform& platform_;
};

}  // namespace voxtane::editor
