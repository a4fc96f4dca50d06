#include "editor/recovery/data_folder.h"

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
    fs::path base = variable("XDG_DATA_HOME");
    if (!base.is_absolute()) {
        const std::string home = variable("HOME");
        if (home.empty()) return {};
        base = fs::path(home) / ".local" / "share";
    }
    return (base / "Voxtane" / "Voxtane").string();
}

}  // namespace voxtane::editor
