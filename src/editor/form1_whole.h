#pragma once

#include "editor/form1.h"
#include "editor/whole_editor.h"

namespace voxtane::editor {

// The editor as a whole, through Form1's own state and procedures.
class Form1Whole : public WholeEditor {
  public:
    explicit Form1Whole(Form1& form) : form_(form) {}

    [[nodiscard]] EditorState Capture(const EditorState* earlier) const override;
    void Restore(const EditorState& state, const Changed& changed) override;
    void RestoreView(const ViewState& view) override;
    void ShowRecord(const ToneRecord& record) override;
    void TakeBank(const WholeBank& bank, const std::string& stepName) override;
    [[nodiscard]] std::string BankFileName() const override { return form_.module1.BankFileName; }
    void ShowEditedView() override { form_.ShowEditedView(); }

    void WatchSteps(StepWatcher* watcher) override { form_.stepWatcher = watcher; }
    void StopWatchingSteps(const StepWatcher* watcher) override {
        if (form_.stepWatcher == watcher) form_.stepWatcher = nullptr;
    }
    void GuardView(ViewGuard* guard) override { form_.viewGuard = guard; }
    void StopGuardingView(const ViewGuard* guard) override {
        if (form_.viewGuard == guard) form_.viewGuard = nullptr;
    }
    Observers<>& CurrentToneChanged() override { return form_.currentToneChanged; }
    Observers<BankEvent>& BankEvents() override { return form_.bankEvents; }

  private:
    Form1& form_;
};

}  // namespace voxtane::editor
