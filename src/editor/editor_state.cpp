#include "editor/editor_state.h"

namespace voxtane::editor {

ToneRecord EditorState::EffectiveSlot(int slot) const {
    if (slot >= 1 && slot == view.currentPatch) return view.scratch;
    return *records[slot];
}

std::size_t EditorState::OwnBytes(const EditorState* earlier) const {
    std::size_t bytes = sizeof(EditorState) + bankFileName.capacity();
    for (int s = 0; s <= kBankSlots; ++s)
        if (earlier == nullptr || records[s] != earlier->records[s]) bytes += sizeof(ToneRecord);
    for (const std::string& name : names) bytes += name.capacity();
    return bytes + view.controls.capacity() + view.listText.capacity();
}

bool Changed::Any() const {
    for (bool slot : records)
        if (slot) return true;
    for (bool name : names)
        if (name) return true;
    return patchCount || bankFileName || view;
}

Changed Compare(const EditorState& a, const EditorState& b) {
    Changed changed;
    for (int s = 0; s <= kBankSlots; ++s)
        changed.records[s] = a.EffectiveSlot(s) != b.EffectiveSlot(s);
    for (int i = 0; i < kBankSlots; ++i) changed.names[i] = a.names[i] != b.names[i];
    changed.patchCount = a.patchCount != b.patchCount;
    changed.bankFileName = a.bankFileName != b.bankFileName;
    changed.view = !(a.view == b.view);
    return changed;
}

}  // namespace voxtane::editor
