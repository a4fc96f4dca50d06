#pragma once

#include <string>

#include "editor/controls.h"
#include "editor/editor_state.h"
#include "editor/step_watcher.h"
#include "editor/view_guard.h"

namespace voxtane::editor {

// What the capabilities that keep, compare and bring back the editor as a whole (the history,
// Compare, the recovery copies) need of it: its state taken and put back, and the moments they
// follow. None of them sees Form1.
class WholeEditor {
  public:
    virtual ~WholeEditor() = default;

    // The state as it stands now; slots equal to those of `earlier` share its records, so that
    // steps cost what they change.
    [[nodiscard]] virtual EditorState Capture(const EditorState* earlier) const = 0;
    // Puts the parts marked in `changed` back as `state` holds them, leaving the rest as it is
    // now, without raising any handler. Slots are put back as a save would write them; a view
    // put back shows its patch's record, with the controls exactly as they were when that record
    // is the one they showed.
    virtual void Restore(const EditorState& state, const Changed& changed) = 0;
    // Shows a view again exactly: its patch, record and controls (not the patch list), without
    // raising any handler.
    virtual void RestoreView(const ViewState& view) = 0;
    // Shows `record` as the record being edited, decoded into the controls; no slot changes.
    virtual void ShowRecord(const ToneRecord& record) = 0;
    // Puts a whole bank into the editor as one step named `stepName`, its current patch shown.
    virtual void TakeBank(const WholeBank& bank, const std::string& stepName) = 0;
    [[nodiscard]] virtual std::string BankFileName() const = 0;
    // Before anything reads or replaces the edited patch: Compare ends.
    virtual void ShowEditedView() = 0;

    // One watcher of the steps and one guard of the view at a time; letting go of one that is
    // no longer there changes nothing.
    virtual void WatchSteps(StepWatcher* watcher) = 0;
    virtual void StopWatchingSteps(const StepWatcher* watcher) = 0;
    virtual void GuardView(ViewGuard* guard) = 0;
    virtual void StopGuardingView(const ViewGuard* guard) = 0;
    // Told after every change of the current tone: an edit, a patch shown.
    virtual Observers<>& CurrentToneChanged() = 0;
    // Told when the bank is loaded, saved whole or renewed.
    virtual Observers<BankEvent>& BankEvents() = 0;
};

// What the history tells of its steps.
struct StepEvents {
    // Told whenever the undo and redo entries change.
    Observers<> changed;
    // Told of each new step (not one merged into the step before), with the state before it,
    // ahead of `changed`.
    Observers<const std::string&, const EditorState&> stepAdded;
};

}  // namespace voxtane::editor
