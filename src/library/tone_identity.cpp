#include "library/tone_identity.h"

namespace voxtane::library {

std::vector<std::uint8_t> EntryBytes(const ToneRecord& record) {
    std::vector<std::uint8_t> bytes(kToneEntries);
    for (int entry = 1; entry <= kToneEntries; ++entry)
        bytes[static_cast<std::size_t>(entry - 1)] =
            static_cast<std::uint8_t>(record[entry] & 0xFF);
    return bytes;
}

ToneRecord RecordFromEntryBytes(const std::vector<std::uint8_t>& bytes) {
    ToneRecord record{};
    for (std::size_t i = 0; i < bytes.size() && i < kToneEntries; ++i)
        record[i + 1] = static_cast<std::int16_t>(bytes[i]);
    return record;
}

std::string ToneHash(const ToneRecord& record) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (int entry = 1; entry <= kToneEntries; ++entry) {
        hash ^= static_cast<std::uint8_t>(record[entry] & 0xFF);
        hash *= 0x100000001b3ULL;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(kToneHashDigits, '0');
    for (std::size_t i = kToneHashDigits; i-- > 0; hash >>= 4) text[i] = kDigits[hash & 15];
    return text;
}

}  // namespace voxtane::library
