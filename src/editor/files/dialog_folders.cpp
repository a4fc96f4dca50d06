#include "editor/files/dialog_folders.h"
#include "bank/file_path.h"

#include <filesystem>

namespace voxtane::editor {
namespace {

namespace fs = std::filesystem;

const char* KeyOf(FileKind kind) {
    switch (kind) {
        case FileKind::Banks:
            return "folders/banks";
        case FileKind::Imports:
            return "folders/imports";
        case FileKind::Exports:
            break;
    }
    return "folders/exports";
}

}  // namespace

std::string DialogFolders::Start(FileKind kind) const {
    if (const auto kept = settings_.Read(KeyOf(kind))) {
        std::error_code ec;
        if (!kept->empty() && fs::is_directory(PathFromUtf8(*kept), ec)) return *kept;
    }
    return platform_.DocumentsFolder();
}

void DialogFolders::Remember(FileKind kind, const std::string& chosen) {
    if (chosen.empty()) return;
    const fs::path path = PathFromUtf8(chosen);
    const std::string folder =
        kind == FileKind::Exports ? Utf8FromPath(path) : Utf8FromPath(path.parent_path());
    if (!folder.empty()) settings_.Write(KeyOf(kind), folder);
}

}  // namespace voxtane::editor
