#include "editor/patch_list.h"

#include <algorithm>
#include <stdexcept>

namespace voxtane::editor {

void PatchList::AddItem(std::string text) {
    entries_.push_back(std::move(text));
    observers.Notify();
}

void PatchList::SetList(int index, std::string text) {
    entries_.at(index) = std::move(text);
    if (index == listIndex_) text_ = entries_[index];
    observers.Notify();
}

void PatchList::SetListIndex(int index) {
    if (index < -1 || index >= ListCount())
        throw std::out_of_range("patch list index out of range");
    listIndex_ = index;
    if (index >= 0) text_ = entries_[index];
    observers.Notify();
    if (onClick) onClick();
}

void PatchList::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    observers.Notify();
    if (onChange) onChange();
}

void PatchList::Restore(std::vector<std::string> entries, int listIndex, std::string text,
                        int selStart) {
    entries_ = std::move(entries);
    listIndex_ = std::clamp(listIndex, -1, ListCount() - 1);
    text_ = std::move(text);
    selStart_ = std::clamp(selStart, 0, static_cast<int>(text_.size()));
    observers.Notify();
}

void PatchList::SetSelStart(int position) {
    selStart_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    observers.Notify();
}

}  // namespace voxtane::editor
