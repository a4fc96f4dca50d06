#include "editor/compare/patch_compare.h"

#include <algorithm>

namespace voxtane::editor {

PatchCompare::PatchCompare(WholeEditor& editor) : editor_(editor) {
    editor_.GuardView(this);
    editor_.BankEvents().Add([this](BankEvent) { ResetReferences(); });
}

PatchCompare::~PatchCompare() {
    editor_.StopGuardingView(this);
}

void PatchCompare::ResetReferences() {
    const EditorState now = editor_.Capture(nullptr);
    for (int slot = 0; slot <= kBankSlots; ++slot)
        reference_[slot] = slot == now.view.currentPatch ? now.view.scratch : *now.records[slot];
}

void PatchCompare::TakeReference(int patch, const ToneRecord& record) {
    if (patch >= 0 && patch <= kBankSlots) reference_[patch] = record;
}

void PatchCompare::SetComparing(bool on) {
    if (on == Comparing()) return;
    if (on) {
        edited_ = editor_.Capture(nullptr);
        editor_.ShowRecord(reference_[std::clamp<int>(edited_->view.currentPatch, 0, kBankSlots)]);
    } else {
        // The patch list stays as it is: a selection may be under way.
        editor_.RestoreView(edited_->view);
        edited_.reset();
        editor_.CurrentToneChanged().Notify();
    }
    changed.Notify();
}

}  // namespace voxtane::editor
