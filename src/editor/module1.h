#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bank/bank_limits.h"
#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

namespace voxtane {

// The state one run of the editor shares between its procedures: the bank, the record being
// edited and its tone, the file, the patch bookkeeping and the decoding guard. One object per
// program run, so that every run starts fresh.
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

    // True only while a record is decoded into the controls (or controls are set back); the
    // tone controls' events then encode nothing, so decoding never writes the record.
    bool ParsingSysex = false;

    // The record being edited as typed values: what it was last decoded to or encoded from. An
    // edit changes one field of it and writes that field's part of the record.
    DecodedTone ScratchTone{};
};

// Holds the decoding guard for its lifetime, also when a step throws, and then puts back what it
// was: decodings and restores nest.
class QuietToneHandlers {
  public:
    explicit QuietToneHandlers(Module1& module1)
        : flag_(module1.ParsingSysex), was_(module1.ParsingSysex) {
        flag_ = true;
    }
    ~QuietToneHandlers() { flag_ = was_; }
    QuietToneHandlers(const QuietToneHandlers&) = delete;
    QuietToneHandlers& operator=(const QuietToneHandlers&) = delete;

  private:
    bool& flag_;
    bool was_;
};

}  // namespace voxtane
