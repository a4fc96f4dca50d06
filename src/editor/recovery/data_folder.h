#pragma once

#include <string>

namespace voxtane::editor {

// The variable that moves the program's data folder elsewhere (for tests, or a second set of
// data); the window and voxtane-syx both heed it.
inline constexpr const char* kDataFolderVariable = "VOXTANE_DATA_DIR";

// The data folder the window uses on this system, found without the toolkit: the variable above
// when set, else the desktop's user data folder ($XDG_DATA_HOME, or ~/.local/share) with the
// program's organization and name, as the window's toolkit names it. "" when neither is known.
[[nodiscard]] std::string DefaultDataFolder();

}  // namespace voxtane::editor
