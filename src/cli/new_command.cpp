// new: the bank the editor holds right after start-up, saved with "Save All".
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/headless_editor.h"

namespace voxtane::cli {

int RunNew(const std::string& out) {
    HeadlessEditor editor;
    editor.SaveAll(out);
    return kExitOk;
}

}  // namespace voxtane::cli
