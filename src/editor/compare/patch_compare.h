#pragma once

#include <array>
#include <optional>

#include "editor/view_guard.h"
#include "editor/whole_editor.h"

namespace voxtane::editor {

// Compare: shows the current patch as it was when last loaded, saved, fetched or pasted, without
// changing the edited version. While comparing the controls are read-only and the record being
// edited holds the reference, so "Send Patch" (and Send While Editing) send what is shown. Leaving
// Compare, or anything that reads, stores or replaces the edited patch, shows the edited version
// again exactly, typed texts and selections included.
class PatchCompare : public ViewGuard {
  public:
    explicit PatchCompare(WholeEditor& editor);
    ~PatchCompare() override;
    PatchCompare(const PatchCompare&) = delete;
    PatchCompare& operator=(const PatchCompare&) = delete;

    [[nodiscard]] bool Comparing() const { return edited_.has_value(); }
    void SetComparing(bool on);
    // While comparing, the record being edited, which the reference stands in for on screen.
    [[nodiscard]] std::optional<ToneRecord> EditedTone() const {
        return edited_ ? std::optional(edited_->view.scratch) : std::nullopt;
    }
    void ShowEditedView() override { SetComparing(false); }

    // The patch's reference from now on: a tone fetched or pasted into it.
    void TakeReference(int patch, const ToneRecord& record);
    // Told when comparing starts or ends (the window makes the controls read-only).
    Observers<> changed;

    // The whole bank, as it now stands, is the reference of every patch.
    void ResetReferences();

  private:
    WholeEditor& editor_;
    std::array<ToneRecord, kBankSlots + 1> reference_{};
    std::optional<EditorState> edited_;
};

}  // namespace voxtane::editor
