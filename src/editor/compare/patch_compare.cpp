#include "editor/compare/patch_compare.h"

namespace voxtane::editor {

PatchCompare::PatchCompare(Form1& form) : form_(form) {
    form_.viewGuard = this;
    form_.bankEvents.Add([this](BankEvent) { ResetReferences(); });
}

PatchCompare::~PatchCompare() {
    if (form_.viewGuard == this) form_.viewGuard = nullptr;
}

void PatchCompare::ResetReferences() {
    const Module1& m = form_.module1;
    for (int slot = 0; slot <= kBankSlots; ++slot)
        reference_[slot] = slot == m.CurrentPatch ? m.ScratchRecord : m.PatchBank[slot];
}

void PatchCompare::TakeReference(int patch, const ToneRecord& record) {
    if (patch >= 0 && patch <= kBankSlots) reference_[patch] = record;
}

void PatchCompare::SetComparing(bool on) {
    if (on == Comparing()) return;
    Module1& m = form_.module1;
    if (on) {
        edited_ = history::Capture(form_, nullptr);
        m.ScratchRecord = reference_[std::clamp<int>(m.CurrentPatch, 0, kBankSlots)];
        form_.ParseSysex();
    } else {
        // The patch list stays as it is: a selection may be under way.
        history::RestoreView(form_, edited_->view);
        edited_.reset();
        form_.currentToneChanged.Notify();
    }
    changed.Notify();
}

}  // namespace voxtane::editor
