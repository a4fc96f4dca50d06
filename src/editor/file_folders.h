#pragma once

#include <string>

namespace voxtane::editor {

// The kinds of file the editor's dialogs ask for, each with a folder of its own.
enum class FileKind { Banks, Imports, Exports };

// Where a file dialog for a kind of file starts, and what a dialog's choice teaches.
class FileFolders {
  public:
    virtual ~FileFolders() = default;
    [[nodiscard]] virtual std::string Start(FileKind kind) const = 0;
    // `chosen` was picked in a dialog for `kind`: a file, whose folder is kept, or for Exports
    // the folder itself.
    virtual void Remember(FileKind kind, const std::string& chosen) = 0;
};

}  // namespace voxtane::editor
