#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bank/atomic_file.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_reader.h"

namespace voxtane::editor {

// Where the editor's loads read and its saves write bank and names files. The program uses the
// file system; a fuzzer or a test may keep the files in memory, read by the same readers.
class BankFiles {
  public:
    virtual ~BankFiles() = default;
    [[nodiscard]] virtual BankReadResult ReadBank(const std::string& path, int maxMessages) = 0;
    // The names file that belongs to the bank file at `bankPath`, as a load finds it.
    [[nodiscard]] virtual NamesReadResult ReadNamesOf(const std::string& bankPath,
                                                      std::size_t maxLines) = 0;
    [[nodiscard]] virtual FileWriteResult WriteBank(const std::string& path,
                                                    std::span<const std::uint8_t> bytes) = 0;
    [[nodiscard]] virtual FileWriteResult WriteNames(const std::string& path,
                                                     const std::vector<std::string>& names) = 0;
};

// The file system: every bank and names file is written whole or not at all. A watcher of the
// save steps, none in the program, lets a test interrupt a save part way.
class BankFileStore : public BankFiles {
  public:
    SaveStepWatcher watchSteps;

    [[nodiscard]] BankReadResult ReadBank(const std::string& path, int maxMessages) override {
        return ReadSysexBank(path, maxMessages);
    }
    [[nodiscard]] NamesReadResult ReadNamesOf(const std::string& bankPath,
                                              std::size_t maxLines) override {
        return ReadNamesFile(NamesFileToRead(bankPath), maxLines);
    }
    [[nodiscard]] FileWriteResult WriteBank(const std::string& path,
                                            std::span<const std::uint8_t> bytes) override {
        return WriteFileAtomically(path, bytes, watchSteps);
    }
    [[nodiscard]] FileWriteResult WriteNames(const std::string& path,
                                             const std::vector<std::string>& names) override {
        return WriteNamesFile(path, names, watchSteps);
    }
};

}  // namespace voxtane::editor
