#pragma once

#include <memory>
#include <string>

#include "editor/linked_editor.h"
#include "editor/platform.h"
#include "editor/recovery/copy_locks.h"
#include "editor/recovery/copy_writer.h"
#include "editor/recovery/recovery_copy.h"
#include "editor/recovery/recovery_shelf.h"
#include "editor/whole_editor.h"

namespace voxtane::editor {

// Recovery instead of loss. While the bank has changes that were never saved, a copy of it lies
// in the program's data folder, one for each running editor (each locks its own), kept up to
// date by the copy writer at most once a second; a bank save, Load or New removes it. At the
// next start the copies of editors that no longer run are offered back.
// A bank with unsaved changes that New, Load, Get Bank, Import, Recover or the program's end
// replaces goes onto the recovery shelf, from which Recover brings it back.
class Recovery {
  public:
    // Messages go out under `title`.
    Recovery(WholeEditor& editor, LinkedEditor& tones, Platform& platform, StepEvents& steps,
             CopyLocks& locks, CopyWriter& writer, const std::string& title);
    ~Recovery();
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // After start-up: a copy left by an editor that no longer runs is offered back (Yes
    // restores it as one undoable step, No discards it); a damaged copy is removed. Copies
    // beyond the one restored go onto the shelf.
    void OfferRestore();
    [[nodiscard]] bool Unsaved() const { return unsaved_; }
    // This editor's own copy: "" before start or without a data folder.
    [[nodiscard]] const std::string& CopyPath() const { return copyPath_; }
    [[nodiscard]] RecoveryShelf Shelf() const { return RecoveryShelf(folder_); }
    // File > Recover...: lists the shelf and brings the chosen bank back as one undoable step.
    void Recover();
    // Returns once the copy and the shelf's entries asked for so far are on the disk.
    void Flush() { writer_.Flush(); }
    // Told when Unsaved changes.
    Observers<> changed;

  private:
    struct Orphan;
    void StepAdded(const std::string& name, const EditorState& before);
    [[nodiscard]] RecoveryCopy CopyNow() const;
    void StepsChanged();
    void BankSavedOrRenewed();
    void SetUnsaved(bool unsaved);
    void TakeOwnCopy();
    void Discard(const std::string& copyPath);

    WholeEditor& editor_;
    LinkedEditor& tones_;
    Platform& platform_;
    CopyLocks& locks_;
    CopyWriter& writer_;
    const std::string& title_;
    std::string folder_;
    std::string copyPath_;
    std::unique_ptr<HeldLock> lock_;
    bool watching_ = false;
    bool unsaved_ = false;
};

}  // namespace voxtane::editor
