// Any sequence of user actions (chosen by the input: edits, renames, selections, Copy and Paste
// Patch, New, Compare, Get Patch and Get Bank) then undone step by step gives back the start
// exactly, and redone gives back the end: bank as a save writes it, names, patch count and file
// name.
#include <cstdint>

#include "fuzz_support.h"
#include "user_actions.h"

using namespace voxtane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Editor editor;
    std::size_t position = 0;
    const auto below = [&](int n) { return n <= 0 || position >= size ? 0 : data[position++] % n; };
    const editor::history::BankContent start = editor::history::ContentOf(editor.run);
    for (int action = 0; action < 200 && position < size; ++action)
        editor::history::MakeUserAction(editor.run, below);
    const editor::history::BankContent end = editor::history::ContentOf(editor.run);
    editor::history::History& history = editor.run.history;
    while (history.CanUndo()) history.Undo();
    VOXTANE_FUZZ_CHECK(editor::history::ContentOf(editor.run) == start);
    while (history.CanRedo()) history.Redo();
    VOXTANE_FUZZ_CHECK(editor::history::ContentOf(editor.run) == end);
    VOXTANE_FUZZ_CHECK(!editor.run.module1.ParsingSysex);
    return 0;
}
