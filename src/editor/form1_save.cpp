// Saving the bank, or the current patch alone, with its names file.
#include <string>
#include <vector>

#include "bank/bank_limits.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"
#include "editor/form1.h"

namespace voxtane::editor {
namespace {

const char* SaveTitle(std::int16_t sm, bool all) {
    if (sm == 1) return "Save All";
    return all ? "Save All As" : "Save Single Patch As";
}

void Append(std::vector<std::uint8_t>& bytes, const ToneDump& dump) {
    bytes.insert(bytes.end(), dump.begin(), dump.end());
}

}  // namespace

void Form1::SaveSysex(std::int16_t sm, bool all) {
    ShowEditedView();
    const std::string previousFile = module1.BankFileName;
    std::string target = module1.BankFileName;
    if (sm == 2 || (sm == 1 && module1.BankFileName.empty())) {
        FileDialogRequest dialog;
        dialog.kind = FileDialogKind::Save;
        dialog.title = SaveTitle(sm, all);
        dialog.initialName =
            dialogFolders->Start(FileKind::Banks) + (sm == 1 ? "/*.syx" : "/patch.syx");
        dialog.filters = {{"SysEx(*.syx)", {"*.syx"}}, {"All Files(*.*)", {"*.*"}}};
        target = platform.ShowFileDialog(dialog);
        if (target.empty()) return;
        dialogFolders->Remember(FileKind::Banks, target);
        if (all) {
            module1.BankFileName = target;
            UpdateFormName();
        }
    }

    const int selected = cboPatches.ListIndex();
    // Stores the current patch's latest edits into its slot.
    cboPatches.SetListIndex(selected);

    const std::int16_t previousCount = module1.PatchCount;
    if (module1.PatchCount == 0) module1.PatchCount = 1;
    std::vector<std::uint8_t> bytes;
    for (int i = 1; i <= module1.PatchCount; ++i)
        if (all || i == module1.CurrentPatch)
            Append(bytes, BuildToneDump(module1.PatchBank[i], MemoryPosition(i)));
    // A single patch beyond the patches read from the file is still the patch the user sees.
    if (!all && module1.CurrentPatch > module1.PatchCount)
        Append(bytes, BuildToneDump(module1.PatchBank[module1.CurrentPatch],
                                    MemoryPosition(module1.CurrentPatch)));

    const FileWriteResult written = fileStore.WriteBank(target, bytes);
    if (!written.ok()) {
        module1.PatchCount = previousCount;
        module1.BankFileName = previousFile;
        UpdateFormName();
        platform.ShowMessage({"The file \"" + target + "\" could not be written: " +
                                  written.reason + ". Nothing was saved to it.",
                              module1.AppTitle, MessageButtons::Ok, MessageIcon::Exclamation});
    } else {
        // The names follow the patches they name: a bank that could not be written leaves its
        // names file alone too, and only one message says so.
        std::vector<std::string> names;
        for (int i = 1; i <= kBankSlots; ++i)
            if (all || i == module1.CurrentPatch) names.push_back(cboPatches.List(i - 1));
        const std::string namesPath = NamesFilePath(target);
        const FileWriteResult named = fileStore.WriteNames(namesPath, names);
        if (!named.ok())
            platform.ShowMessage({"The names file \"" + namesPath + "\" could not be written: " +
                                      named.reason + ". The patches are saved without their names.",
                                  module1.AppTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        const std::size_t count = bytes.size() / std::tuple_size_v<ToneDump>;
        platform.ShowStatus("Saved " +
                            (all ? std::to_string(count) + (count == 1 ? " patch" : " patches")
                                 : "patch " + std::to_string(module1.CurrentPatch)) +
                            " to " + target + (named.ok() ? "." : ", without their names."));
    }

    if (cboPatches.ListIndex() == -1) cboPatches.SetListIndex(0);
    if (written.ok() && all) bankEvents.Notify(BankEvent::Saved);
}

}  // namespace voxtane::editor
