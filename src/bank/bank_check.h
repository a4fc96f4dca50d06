#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Finds every way a bank file differs from what the editor writes, where loading would still go
// on without a word: each finding with the byte offset where it lies.
namespace voxtane {

struct BankDeviation {
    std::uint64_t offset;
    std::string text;
};

enum class BankCheckStatus { Exact, Deviates, CannotOpen };

struct BankCheckResult {
    BankCheckStatus status = BankCheckStatus::Exact;
    std::string reason;  // why the file could not be opened
    int messages = 0;    // messages found, also those past the 16th
    std::vector<BankDeviation> deviations;
};

[[nodiscard]] BankCheckResult CheckSysexBank(const std::string& path);

}  // namespace voxtane
