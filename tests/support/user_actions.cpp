#include "user_actions.h"

#include <algorithm>

#include "handler_walk.h"

namespace voxtane::editor::history {

BankContent ContentOf(const EditorRun& run) {
    BankContent content;
    const Module1& m = run.module1;
    // The edited tones, also while Compare shows a reference.
    content.tones = run.tones.Tones();
    for (int slot = 1; slot <= kBankSlots; ++slot)
        content.names[slot - 1] = run.form1.cboPatches.List(slot - 1);
    content.patchCount = m.PatchCount;
    content.bankFileName = m.BankFileName;
    return content;
}

namespace {

// Lets the exchange with the synth run to its end, as the window's timer does.
void Settle(EditorRun& run) {
    for (int i = 0; i < 4000 && run.synthLink.Busy(); ++i) {
        run.midi.clock.SleepFor(std::chrono::milliseconds(5));
        run.manualTicker.Tick();
    }
}

template <typename T>
const T& AnyOf(const std::vector<T>& items, const std::function<int(int)>& below) {
    return items[below(static_cast<int>(items.size()))];
}

}  // namespace

UserAction MakeUserAction(EditorRun& run, const std::function<int(int)>& below,
                          const UserFiles* files) {
    Form1& form = run.form1;
    switch (below(16)) {
        case 0:
            form.cboPatches.SetListIndex(below(kBankSlots));
            return {"Select"};
        case 1: {
            // Renaming while comparing is a matter of the patch list's own (tested there).
            run.compare.SetComparing(false);
            static constexpr const char* kNames[] = {"Brass", "", "Bell 2", "Ã©", "Strings"};
            form.cboPatches.SetText(kNames[below(5)]);
            return {"Rename"};
        }
        case 2:
            run.clipboard.CopyPatch();
            return {"Copy Patch"};
        case 3:
            run.clipboard.PastePatch();
            return {"Paste Patch"};
        case 4:
            if (below(4) == 0) form.cmdNew_Click();
            return {"New"};
        case 5:
            run.compare.SetComparing(below(2) == 0);
            return {"Compare"};
        case 6: {
            const ToneRecord tone = run.module1.PatchBank[1 + below(kBankSlots)];
            run.tones.TakeTone(tone, std::nullopt, "Get Patch");
            return {"Get Patch"};
        }
        case 7: {
            BankTones tones = run.tones.Tones();
            std::rotate(tones.begin(), tones.begin() + 1 + below(kBankSlots - 1), tones.end());
            std::vector<std::string> names;
            if (below(2) == 0)
                for (int n = 1; n <= kBankSlots; ++n)
                    names.push_back("Internal " + std::to_string(n));
            run.tones.TakePatches(1, tones, names, "Get Bank");
            return {"Get Bank"};
        }
        case 8:
            // Only where a synth answers on the run's own clock: elsewhere a write would wait
            // for its answer in real time.
            if (files == nullptr) return {"Write (no synth)"};
            if (below(2) == 0)
                run.synthLink.WritePatchTo(1 + below(kBankSlots));
            else
                run.synthLink.WriteBankConfirmed();
            Settle(run);
            return {"Write to Memory", false, true};
        case 9:
            if (files == nullptr || files->banks.empty()) return {"Load (no files)"};
            form.LoadSysexFile(AnyOf(files->banks, below));
            return {"Load"};
        case 10:
            if (files == nullptr || files->tones.empty()) return {"Import (no files)"};
            (void)run.transfer.ImportFiles({AnyOf(files->tones, below)});
            return {"Import"};
        case 11:
            if (files == nullptr || files->exportFolder.empty()) return {"Export (no folder)"};
            (void)run.transfer.ExportBank(files->exportFolder, [](int) { return true; });
            return {"Export", true, false};
        default:
            // The window makes the tone controls read-only while comparing.
            run.compare.SetComparing(false);
            MakeUserEdit(form, below);
            return {"Edit"};
    }
}

}  // namespace voxtane::editor::history
