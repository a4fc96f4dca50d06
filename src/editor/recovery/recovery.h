#pragma once

#include <optional>
#include <string>

#include "editor/controls.h"
#include "editor/form1.h"
#include "editor/history/history.h"

namespace voxtane::editor {

// What the editor holds that a crash or an unsaved exit must not lose: the bank, the names, the
// patch count, the bank file and the current patch.
struct RecoveryCopy {
    std::array<ToneRecord, kBankSlots> tones{};
    std::array<std::string, kBankSlots> names;
    int patchCount = 0;
    std::string bankFileName;
    int currentPatch = 1;
    friend bool operator==(const RecoveryCopy&, const RecoveryCopy&) = default;
};

[[nodiscard]] std::string EncodeRecoveryCopy(const RecoveryCopy& copy);
// Nothing for text that is not a whole, intact copy.
[[nodiscard]] std::optional<RecoveryCopy> DecodeRecoveryCopy(const std::string& text);

// Recovery instead of loss: while the bank has changes that were never saved, a copy of it lies
// in the program's data folder, rewritten (whole or not at all) at every step of the history;
// a bank save or New removes it. At the next start the copy is offered back.
class Recovery {
  public:
    Recovery(Form1& form, Platform& platform, history::History& history);
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // After start-up: a copy with unsaved changes is offered back (Yes restores it as one
    // undoable step, No discards it); a damaged copy is removed.
    void OfferRestore();
    [[nodiscard]] bool Unsaved() const { return unsaved_; }
    [[nodiscard]] std::string CopyPath() const;
    // Told when Unsaved changes.
    Observers<> changed;

  private:
    void StepsChanged();
    void BankSavedOrRenewed();
    void Write();
    void Remove();
    void Restore(const RecoveryCopy& copy);
    void SetUnsaved(bool unsaved);

    Form1& form_;
    Platform& platform_;
    history::History& history_;
    bool watching_ = false;
    bool unsaved_ = false;
};

}  // namespace voxtane::editor
