#pragma once

#include <array>
#include <cstdint>

namespace voxtane {

// Number of data entries in one tone: 128 tone bytes, each carried as two 4-bit halves.
inline constexpr int kToneEntries = 256;
inline constexpr int kToneBytes = 128;

// One tone as the 256 four-bit halves in which a SysEx tone dump carries it, low half first.
// Entries are numbered 1 to 256 like the data bytes of the dump; element 0 holds no data.
// Entries are 16-bit signed so that a record can hold whatever a file or a fill put there.
using ToneRecord = std::array<std::int16_t, kToneEntries + 1>;

// Reads the byte held by the entry pair (low, low + 1) as low + 16 x high. Computed in int so
// that a record holding values other than nibbles still reads without overflow.
[[nodiscard]] int ReadEntryPair(const ToneRecord& record, int lowEntry);

// Splits a byte value into the entry pair (low, low + 1): low gets b AND 15, high Int(b / 16).
void WriteEntryPair(ToneRecord& record, int lowEntry, int value);

// Tone byte k (1 to 128) occupies entries 2k-1 and 2k.
[[nodiscard]] constexpr int LowEntryOfToneByte(int k) {
    return 2 * k - 1;
}
[[nodiscard]] inline int ReadToneByte(const ToneRecord& record, int k) {
    return ReadEntryPair(record, LowEntryOfToneByte(k));
}
inline void WriteToneByte(ToneRecord& record, int k, int value) {
    WriteEntryPair(record, LowEntryOfToneByte(k), value);
}

void FillEntries(ToneRecord& record, std::int16_t value);

}  // namespace voxtane
