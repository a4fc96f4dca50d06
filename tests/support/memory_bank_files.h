#pragma once

#include <map>
#include <string>

#include "editor/bank_file_store.h"

namespace voxtane::editor {

// Files as bytes in memory, path to content: the fast way for a fuzzer to load and save.
class MemoryBankFiles : public BankFiles {
  public:
    std::map<std::string, std::string> files;

    [[nodiscard]] BankReadResult ReadBank(const std::string& path, int maxMessages) override;
    [[nodiscard]] NamesReadResult ReadNamesOf(const std::string& bankPath,
                                              std::size_t maxLines) override;
    [[nodiscard]] FileWriteResult WriteBank(const std::string& path,
                                            std::span<const std::uint8_t> bytes) override;
    [[nodiscard]] FileWriteResult WriteNames(const std::string& path,
                                             const std::vector<std::string>& names) override;
};

}  // namespace voxtane::editor
