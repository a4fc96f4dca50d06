#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/bank_limits.h"
#include "tone/tone_record.h"

namespace voxtane {

// The state one run of the editor shares between its procedures: the bank, the record being
// edited, the file, the patch bookkeeping, the decoding guard and the encoders' remembered
// values. One object per program run, so that every run starts fresh.
struct Module1 {
    // The current patch as the controls show it; encoders write it, decoding reads it.
    ToneRecord ScratchRecord{};
    // Slots 1 to 16 hold the patches of list entries 0 to 15; slot 0 only receives the store
    // made by the first selection after start-up.
    std::array<ToneRecord, kBankSlots + 1> PatchBank{};

    std::string BankFileName;  // "" for none
    std::string AppTitle = "Voxtane";
    std::int16_t PatchCount = 0;     // patches held from the file; 0 stops loading on selection
    std::int16_t CurrentPatch = 0;   // 1 to 16 once started
    std::int16_t PreviousPatch = 0;  // -1 suppresses the next store-back

    // True only while a record is decoded into the controls; every tone handler then does
    // nothing, so decoding never writes the record.
    bool ParsingSysex = false;

    // Values the handlers of shared tone bytes combine with their own.
    std::int16_t StoredLineSelect = 0;
    std::int16_t StoredOctaveRange = 0;  // 4 x octave-range code
    std::int16_t StoredOctave = 0;
    std::int16_t StoredNote = 0;
};

}  // namespace voxtane
