// recover: the recovery shelf of the window, listed or brought back into a bank file.
#include <iostream>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/headless_editor.h"
#include "editor/recovery/data_folder.h"
#include "editor/recovery/recovery_shelf.h"

namespace voxtane::cli {

int RunRecover(const RecoverOptions& options) {
    const std::string folder =
        options.dataFolder.empty() ? editor::DefaultDataFolder() : options.dataFolder;
    if (folder.empty())
        throw RuntimeFailure("no data folder is known: set HOME, " +
                             std::string(editor::kDataFolderVariable) + " or --data-dir");
    const std::vector<editor::ShelvedBank> shelf = editor::RecoveryShelf(folder).List();
    if (options.list) {
        if (shelf.empty())
            std::cerr << "note: the recovery shelf in \"" << folder << "\" is empty\n";
        for (std::size_t i = 0; i < shelf.size(); ++i)
            std::cout << i + 1 << "  " << editor::Describe(shelf[i]) << '\n';
        return kExitOk;
    }
    if (options.number < 1 || options.number > static_cast<int>(shelf.size()))
        throw RuntimeFailure("there is no bank " + std::to_string(options.number) +
                             " on the recovery shelf in \"" + folder + "\" (it holds " +
                             std::to_string(shelf.size()) + "; recover --list shows them)");
    HeadlessEditor editor;
    editor.Run().whole.TakeBank(shelf[options.number - 1].bank, "Recover");
    editor.SaveAllAs(options.out);
    std::cout << "Recovered bank " << options.number << " into " << options.out << '\n';
    return kExitOk;
}

}  // namespace voxtane::cli
