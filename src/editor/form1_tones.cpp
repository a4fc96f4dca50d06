#include "editor/form1_tones.h"

#include <algorithm>

#include "bank/patch_name.h"

namespace voxtane::editor {

BankTones Form1Tones::Tones() const {
    const Module1& module1 = form_.module1;
    BankTones tones;
    for (int slot = 1; slot <= kBankSlots; ++slot)
        tones[slot - 1] =
            slot == module1.CurrentPatch ? module1.ScratchRecord : module1.PatchBank[slot];
    // Compare shows the reference in the record; the bank holds the edit all the same.
    if (const std::optional<ToneRecord> edited = compare_.EditedTone();
        edited && module1.CurrentPatch >= 1 && module1.CurrentPatch <= kBankSlots)
        tones[module1.CurrentPatch - 1] = *edited;
    return tones;
}

std::string Form1Tones::Name(int patch) const {
    if (patch < 1 || patch > kBankSlots) return {};
    return form_.cboPatches.List(patch - 1);
}

void Form1Tones::TakeTone(const ToneRecord& tone, const std::optional<std::string>& name,
                          const std::string& stepName) {
    form_.ShowEditedView();
    StepScope step(form_.stepWatcher, stepName);
    Module1& module1 = form_.module1;
    module1.ScratchRecord = tone;
    if (name && module1.CurrentPatch >= 1)
        form_.cboPatches.SetList(module1.CurrentPatch - 1, PatchName(*name));
    form_.ParseSysex();
    compare_.TakeReference(module1.CurrentPatch, tone);
}

// The bank takes the tones, then the current patch is shown from its slot; when the current
// patch is among them, the record it showed before belongs to no slot any more and is not
// stored back.
void Form1Tones::TakePatches(int first, std::span<const ToneRecord> tones,
                             std::span<const std::string> names, const std::string& stepName) {
    form_.ShowEditedView();
    StepScope step(form_.stepWatcher, stepName);
    Module1& module1 = form_.module1;
    const int count = std::min(static_cast<int>(tones.size()), kBankSlots - first + 1);
    if (first < 1 || count <= 0) return;
    // Edits of the current patch go into its slot first, as a selection would store them.
    if (module1.CurrentPatch >= 1) module1.PatchBank[module1.CurrentPatch] = module1.ScratchRecord;
    for (int i = 0; i < count; ++i) {
        module1.PatchBank[first + i] = tones[i];
        compare_.TakeReference(first + i, tones[i]);
        if (i < static_cast<int>(names.size()))
            form_.cboPatches.SetList(first - 1 + i, PatchName(names[i]));
    }
    module1.PatchCount =
        static_cast<std::int16_t>(std::max<int>(module1.PatchCount, first + count - 1));
    module1.PreviousPatch = -1;
    form_.cboPatches.SetListIndex(std::max(0, module1.CurrentPatch - 1));
}

}  // namespace voxtane::editor
