// Start-up, the patch list (selection, store-back, renaming), New and the caption.
#include <string>

#include "bank/bank_limits.h"
#include "bank/patch_name.h"
#include "editor/form1.h"

namespace voxtane::editor {

void Form1::Form_Load() {
    FillEntries(module1.ScratchRecord, -1);
    module1.BankFileName = "";
    module1.AppTitle = "Voxtane";
    Caption.SetText(module1.AppTitle);
    for (int i = 1; i <= kBankSlots; ++i) cboPatches.AddItem("Patch_" + std::to_string(i));
    SetDefaults2();
    for (int slot = 1; slot <= kBankSlots; ++slot) StoreScratchInto(slot);
    module1.PatchCount = kBankSlots;
    // The first selection stores the record into slot 0 (PreviousPatch is still 0).
    cboPatches.SetListIndex(0);
    // The output device is chosen once per run, after the editor shows its first patch.
    midiCommands.midiRun.vbsyxgbl.MidiDeviceChoice = {};
    midiCommands.SelectMidiDevice();
}

void Form1::StoreScratchInto(int slot) {
    module1.PatchBank[slot] = module1.ScratchRecord;
}
void Form1::LoadScratchFrom(int slot) {
    module1.ScratchRecord = module1.PatchBank[slot];
}

void Form1::cboPatches_Click() {
    ShowEditedView();
    // Without patches from a file every entry shows the tone being edited, and leaving an entry
    // stores it there: then a selection changes the bank, and is a step of its own.
    StepScope step(module1.PatchCount == 0 ? stepWatcher : nullptr, "Select Patch");
    if (module1.PreviousPatch != -1) StoreScratchInto(module1.CurrentPatch);
    module1.PreviousPatch = module1.CurrentPatch;
    module1.CurrentPatch = static_cast<std::int16_t>(cboPatches.ListIndex() + 1);
    // With no patches from a file, every entry shows the same tone: nothing is loaded.
    if (module1.PatchCount != 0) {
        LoadScratchFrom(module1.CurrentPatch);
        ParseSysex();
    }
}

// Renaming while Compare shows the reference ends Compare first, outside the rename's step: the
// step then holds the rename alone, and Undo takes back exactly that.
void Form1::cboPatches_Change() {
    const int n = module1.CurrentPatch - 1;
    if (n < 0) return;  // nothing selected yet: no entry to rename
    ShowEditedView();
    StepScope step(stepWatcher, "Rename", "rename(" + std::to_string(n) + ")");
    cboPatches.SetList(n, PatchName(cboPatches.Text()));
    cboPatches.SetListIndex(n);
    cboPatches.SetSelStart(static_cast<int>(cboPatches.Text().size()) + 1);
}

void Form1::CleanPatchList() {
    for (int i = 0; i < kBankSlots; ++i) cboPatches.SetList(i, "Default_" + std::to_string(i + 1));
}

void Form1::UpdateFormName() {
    if (module1.BankFileName.empty()) {
        Caption.SetText(module1.AppTitle);
    } else {
        Caption.SetText(module1.AppTitle + " [" + module1.BankFileName + "]");
    }
}

void Form1::cmdNew_Click() {
    ShowEditedView();
    {
        StepScope step(stepWatcher, "New");
        module1.BankFileName = "";
        UpdateFormName();
        CleanPatchList();
        module1.PatchCount = 0;
        SetDefaults2();
    }
    bankEvents.Notify(BankEvent::Renewed);
}

}  // namespace voxtane::editor
