#include "editor/recovery/data_folder.h"
#include "bank/file_path.h"

#include <cstdlib>
#include <filesystem>

namespace voxtane::editor {

std::string DefaultDataFolder() {
    namespace fs = std::filesystem;
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr ? std::string() : std::string(value);
    };
    if (const std::string chosen = variable(kDataFolderVariable); !chosen.empty()) return chosen;
#ifdef _WIN32
    // Where the window's QStandardPaths puts an application's local data on Windows.
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0') return {};
    const fs::path base(local);
#else
    fs::path base = PathFromUtf8(variable("XDG_DATA_HOME"));
    if (!base.is_absolute()) {
        const std::string home = variable("HOME");
        if (home.empty()) return {};
        base = PathFromUtf8(home) / ".local" / "share";
    }
#endif
    return Utf8FromPath(base / "Voxtane" / "Voxtane");
}

}  // namespace voxtane::editor
