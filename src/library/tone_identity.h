#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tone/tone_record.h"

// A tone is its 256 data entries and nothing else: the same entries under another name, in
// another file or at another position are the same tone. Its identity is a 64-bit FNV-1a hash of
// the entries, written as 16 hexadecimal digits; people see and type a prefix of it.
namespace voxtane::library {

inline constexpr std::size_t kToneHashDigits = 16;
// What search prints; any prefix that only one tone has is accepted where a tone is asked for.
inline constexpr std::size_t kPrintedIdDigits = 12;

// The entries 1 to 256 as bytes, as stored.
[[nodiscard]] std::vector<std::uint8_t> EntryBytes(const ToneRecord& record);
[[nodiscard]] ToneRecord RecordFromEntryBytes(const std::vector<std::uint8_t>& bytes);

[[nodiscard]] std::string ToneHash(const ToneRecord& record);

}  // namespace voxtane::library
