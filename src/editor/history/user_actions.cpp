#include "editor/history/user_actions.h"

#include "editor/handler_walk.h"

namespace voxtane::editor::history {

BankContent ContentOf(const EditorRun& run) {
    BankContent content;
    const Module1& m = run.module1;
    for (int slot = 1; slot <= kBankSlots; ++slot) {
        content.tones[slot - 1] = slot == m.CurrentPatch ? m.ScratchRecord : m.PatchBank[slot];
        content.names[slot - 1] = run.form1.cboPatches.List(slot - 1);
    }
    content.patchCount = m.PatchCount;
    content.bankFileName = m.BankFileName;
    return content;
}

void MakeUserAction(EditorRun& run, const std::function<int(int)>& below) {
    Form1& form = run.form1;
    switch (below(10)) {
        case 0:
            form.cboPatches.SetListIndex(below(kBankSlots));
            break;
        case 1: {
            static constexpr const char* kNames[] = {"Brass", "", "Bell 2", "Ã©", "Strings"};
            form.cboPatches.SetText(kNames[below(5)]);
            break;
        }
        case 2:
            run.clipboard.CopyPatch();
            break;
        case 3:
            run.clipboard.PastePatch();
            break;
        case 4:
            if (below(4) == 0) form.cmdNew_Click();
            break;
        default:
            MakeUserEdit(form, below);
    }
}

}  // namespace voxtane::editor::history
