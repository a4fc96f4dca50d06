// Loading a bank file and its names file into the bank.
#include <string>

#include "bank/bank_limits.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_reader.h"
#include "editor/form1.h"

namespace voxtane::editor {
namespace {

std::string WhyNothingLoaded(const std::string& path, const BankReadResult& result) {
    const std::string file = "The file \"" + path + "\"";
    switch (result.status) {
        case BankReadStatus::CannotOpen:
            return file + " could not be opened: " + result.reason + ". Nothing was loaded.";
        case BankReadStatus::Empty:
            return file + " is empty. Nothing was loaded.";
        case BankReadStatus::NotSysex:
            return file +
                   " is not a SysEx bank file: it does not start with F0. Nothing was loaded.";
        case BankReadStatus::ReadError:
            return file + " could not be read: " + result.reason + ". Nothing was loaded.";
        case BankReadStatus::Read:
            break;
    }
    return {};
}

}  // namespace

void Form1::cmdLoad_Click() {
    FileDialogRequest dialog;
    dialog.kind = FileDialogKind::Open;
    dialog.title = "Load SysEx File";
    dialog.initialName = dialogFolders->Start(FileKind::Banks) + "/*.syx";
    dialog.fileMustExist = true;
    const std::string path = platform.ShowFileDialog(dialog);
    if (path.empty()) return;
    dialogFolders->Remember(FileKind::Banks, path);
    LoadSysexFile(path);
}

void Form1::LoadSysexFile(const std::string& path) {
    ShowEditedView();
    bool loaded = false;
    {
        StepScope step(stepWatcher, "Load");
        loaded = LoadFrom(path);
    }
    if (loaded) bankEvents.Notify(BankEvent::Loaded);
}

bool Form1::LoadFrom(const std::string& path) {
    // The file is read before anything changes: a file that gives no patch leaves the editor
    // exactly as it was and says why.
    const BankReadResult bank = fileStore.ReadBank(path, kBankSlots);
    if (bank.status != BankReadStatus::Read) {
        platform.ShowMessage({WhyNothingLoaded(path, bank), module1.AppTitle, MessageButtons::Ok,
                              MessageIcon::Exclamation});
        return false;
    }

    CleanPatchList();
    SetDefaults2();
    for (int slot = 1; slot <= kBankSlots; ++slot) StoreScratchInto(slot);
    module1.PatchCount = 0;

    const NamesReadResult names = fileStore.ReadNamesOf(path, kBankSlots);
    for (std::size_t k = 0; k < names.names.size(); ++k)
        cboPatches.SetList(static_cast<int>(k), names.names[k]);
    const bool haveNames = !names.names.empty();

    // Entries a short message does not reach keep the default tone.
    for (std::size_t i = 0; i < bank.messages.size(); ++i) {
        const SysexMessage& message = bank.messages[i];
        const int slot = static_cast<int>(i) + 1;
        for (int k = 0; k < message.dataCount; ++k)
            module1.PatchBank[slot][k + 1] = message.data[k];
        if (!haveNames) cboPatches.SetList(slot - 1, "Patch_" + std::to_string(slot));
        module1.PatchCount = static_cast<std::int16_t>(slot);
    }

    module1.BankFileName = path;
    UpdateFormName();
    // The record still holds the default tone, which belongs to no slot: the first selection
    // must not store it over patch 1.
    module1.PreviousPatch = -1;
    cboPatches.SetListIndex(0);
    cboPatches_Click();
    return true;
}

}  // namespace voxtane::editor
