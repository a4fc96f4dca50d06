#pragma once

#include <array>
#include <functional>
#include <string>

#include "editor/editor_run.h"

// Users' actions at random, and what the history must give back: shared by the history's tests
// and its fuzzer.
namespace voxtane::editor::history {

// The bank as a save would write it, with its names, count and file.
struct BankContent {
    std::array<ToneRecord, kBankSlots> tones{};
    std::array<std::string, kBankSlots> names;
    int patchCount = 0;
    std::string bankFileName;
    friend bool operator==(const BankContent&, const BankContent&) = default;
};
[[nodiscard]] BankContent ContentOf(const EditorRun& run);

// One action a user could take, picked with `below(n)` (a number from 0 to n - 1): an edit of a
// tone control, a rename, another patch selected, Copy Patch, Paste Patch, or New.
void MakeUserAction(EditorRun& run, const std::function<int(int)>& below);

}  // namespace voxtane::editor::history
