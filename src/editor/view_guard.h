#pragma once

namespace voxtane::editor {

// A capability that shows something other than the edited patch for a while (Compare) puts the
// edited patch back on screen before anything reads, stores or replaces it: a selection, a save,
// New, Load, an undo.
class ViewGuard {
  public:
    virtual ~ViewGuard() = default;
    virtual void ShowEditedView() = 0;
};

// What happened to the bank as a whole.
enum class BankEvent {
    Loaded,  // a bank file was read into the bank
    Saved,   // the whole bank was written to its file
    Renewed  // New
};

}  // namespace voxtane::editor
