#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "bank/bank_limits.h"
#include "tone/tone_record.h"

namespace voxtane::editor {

using BankTones = std::array<ToneRecord, kBankSlots>;

// What the capabilities beside the editor (the link with the synth, the voice) need of it: its
// tones, and a way to hand it tones from elsewhere.
class LinkedEditor {
  public:
    virtual ~LinkedEditor() = default;

    [[nodiscard]] virtual ToneRecord CurrentTone() const = 0;
    [[nodiscard]] virtual int CurrentPatch() const = 0;
    // Patches 1 to 16 as the editor holds them now, the current patch's edits included.
    [[nodiscard]] virtual BankTones Tones() const = 0;
    // A tone from elsewhere replaces the current patch, as an edit of it.
    virtual void TakeTone(const ToneRecord& tone, const std::string& stepName) = 0;
    // Tones from elsewhere replace patches 1 to 16; with names, the patches take them too.
    virtual void TakeBank(const BankTones& tones, const std::vector<std::string>* names,
                          const std::string& stepName) = 0;
    // `callback` is called after every change of the current tone: an edit, a patch shown.
    virtual void WatchCurrentTone(std::function<void()> callback) = 0;
};

}  // namespace voxtane::editor
