#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/recovery/copy_writer.h"
#include "editor/recovery/recovery_copy.h"

namespace voxtane::editor {

// A bank with unsaved changes that New, Load, Get Bank, Import, Recover or the program's end
// replaced, as it was then.
struct ShelvedBank {
    std::int64_t time = 0;  // milliseconds since 1970, UTC
    std::string replacedBy;
    RecoveryCopy bank;
    std::string path;  // the entry's file (not part of its text)
};

[[nodiscard]] std::string EncodeShelvedBank(const ShelvedBank& entry);
// Nothing for text that is not a whole, intact entry.
[[nodiscard]] std::optional<ShelvedBank> DecodeShelvedBank(const std::string& text);

// "2026-12-07 01:40, replaced by Load: Brass, Bell 2, Strings, ..." (local time).
[[nodiscard]] std::string Describe(const ShelvedBank& entry);

// The recovery shelf: the last banks with unsaved changes that something replaced, one file
// each in a folder of the data folder, the oldest dropped beyond kKept.
class RecoveryShelf {
  public:
    static constexpr int kKept = 20;
    // `dataFolder`: the program's data folder; "" for a shelf that keeps nothing.
    explicit RecoveryShelf(std::string dataFolder);

    [[nodiscard]] std::string Folder() const;
    // Puts `bank` on the shelf through `writer`, and drops the entries beyond kKept.
    void Put(const RecoveryCopy& bank, const std::string& replacedBy, std::int64_t time,
             CopyWriter& writer) const;
    // Every intact entry, newest first.
    [[nodiscard]] std::vector<ShelvedBank> List() const;

  private:
    [[nodiscard]] std::vector<std::string> EntryFiles() const;  // oldest first

    std::string dataFolder_;
};

[[nodiscard]] std::int64_t MillisecondsNow();

}  // namespace voxtane::editor
