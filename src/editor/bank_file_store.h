#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bank/atomic_file.h"
#include "bank/names_file.h"

namespace voxtane::editor {

// Where the editor's saves go: every bank and names file is written whole or not at all. A
// watcher of the save steps, none in the program, lets a test interrupt a save part way.
struct BankFileStore {
    SaveStepWatcher watchSteps;

    [[nodiscard]] FileWriteResult WriteBank(const std::string& path,
                                            std::span<const std::uint8_t> bytes) const {
        return WriteFileAtomically(path, bytes, watchSteps);
    }
    [[nodiscard]] FileWriteResult WriteNames(const std::string& path,
                                             const std::vector<std::string>& names) const {
        return WriteNamesFile(path, names, watchSteps);
    }
};

}  // namespace voxtane::editor
