#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/controls.h"

namespace voxtane::editor {

// The patch list: a drop-down list of patch names with an editable text field. Picking an entry
// (from code or by the user) always runs the selection handler, also when the entry was already
// selected; editing the text field raises the change handler at every change of its text.
class PatchList {
  public:
    [[nodiscard]] int ListCount() const { return static_cast<int>(entries_.size()); }
    [[nodiscard]] const std::string& List(int index) const { return entries_.at(index); }
    void AddItem(std::string text);
    // Replaces an entry's text without touching the selection.
    void SetList(int index, std::string text);

    // -1 when nothing is selected.
    [[nodiscard]] int ListIndex() const { return listIndex_; }
    // Selects an entry (its text fills the text field) and runs the selection handler.
    void SetListIndex(int index);

    [[nodiscard]] const std::string& Text() const { return text_; }
    // A change of the text field, typed or set from code.
    void SetText(std::string text);

    // Puts the whole list back as it stood, without running any handler: for undo and redo.
    void Restore(std::vector<std::string> entries, int listIndex, std::string text, int selStart);

    // Caret position in the text field, 0 = before the first character.
    [[nodiscard]] int SelStart() const { return selStart_; }
    void SetSelStart(int position);

    std::function<void()> onClick;
    std::function<void()> onChange;
    Observers<> observers;

  private:
    std::vector<std::string> entries_;
    int listIndex_ = -1;
    std::string text_;
    int selStart_ = 0;
};

}  // namespace voxtane::editor
