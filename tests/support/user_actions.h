#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

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

// Files a user's actions may use: bank files to load, tone files to import, a folder to export
// into.
struct UserFiles {
    std::vector<std::string> banks;
    std::vector<std::string> tones;
    std::string exportFolder;
};

// What an action asked to be written: nothing else may be.
struct UserAction {
    std::string name;
    bool writesFiles = false;   // Export
    bool writesMemory = false;  // Write Patch or Write Bank to Memory
};

// One action a user could take, picked with `below(n)` (a number from 0 to n - 1): an edit of a
// tone control, a rename, another patch selected, Copy Patch, Paste Patch, New, Compare on or
// off, a tone or the bank taken from the synth (as Get Patch and Get Bank take what arrives);
// with `files`, also Load, Import, Export and Write Patch or Bank to Memory (for a run whose
// output and clock are a test's: the exchange runs to its end on the manual ticker).
UserAction MakeUserAction(EditorRun& run, const std::function<int(int)>& below,
                          const UserFiles* files = nullptr);

}  // namespace voxtane::editor::history
