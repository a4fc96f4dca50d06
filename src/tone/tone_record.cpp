#include "tone/tone_record.h"

namespace voxtane {

int ReadEntryPair(const ToneRecord& record, int lowEntry) {
    return record[lowEntry] + 16 * record[lowEntry + 1];
}

void WriteEntryPair(ToneRecord& record, int lowEntry, int value) {
    record[lowEntry] = static_cast<std::int16_t>(value & 15);
    // An arithmetic shift is Int(b / 16) for negative values too.
    record[lowEntry + 1] = static_cast<std::int16_t>(value >> 4);
}

void FillEntries(ToneRecord& record, std::int16_t value) {
    for (int i = 1; i <= kToneEntries; ++i) record[i] = value;
}

}  // namespace voxtane
