#include "editor/form1_tones.h"

namespace voxtane::editor {

BankTones Form1Tones::Tones() const {
    const Module1& module1 = form_.module1;
    BankTones tones;
    for (int slot = 1; slot <= kBankSlots; ++slot)
        tones[slot - 1] =
            slot == module1.CurrentPatch ? module1.ScratchRecord : module1.PatchBank[slot];
    return tones;
}

void Form1Tones::TakeTone(const ToneRecord& tone, const std::string&) {
    form_.module1.ScratchRecord = tone;
    form_.ParseSysex();
}

// The bank takes the tones, then the current patch is shown from its new slot; the record it
// showed before belongs to no slot any more and is not stored back.
void Form1Tones::TakeBank(const BankTones& tones, const std::vector<std::string>* names,
                          const std::string&) {
    Module1& module1 = form_.module1;
    for (int slot = 1; slot <= kBankSlots; ++slot) module1.PatchBank[slot] = tones[slot - 1];
    if (names != nullptr)
        for (int i = 0; i < kBankSlots && i < static_cast<int>(names->size()); ++i)
            form_.cboPatches.SetList(i, (*names)[i]);
    module1.PatchCount = kBankSlots;
    module1.PreviousPatch = -1;
    form_.cboPatches.SetListIndex(std::max(0, module1.CurrentPatch - 1));
}

}  // namespace voxtane::editor
