#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bank/bank_limits.h"
#include "tone/tone_record.h"

namespace voxtane::editor {

using BankTones = std::array<ToneRecord, kBankSlots>;

// What the capabilities beside the editor (the link with the synth, the clipboard, Import,
// Export, the voice) need of it: its tones and names, and a way to hand it tones from elsewhere.
// Each taking is one step of the history.
class LinkedEditor {
  public:
    virtual ~LinkedEditor() = default;

    [[nodiscard]] virtual ToneRecord CurrentTone() const = 0;
    [[nodiscard]] virtual int CurrentPatch() const = 0;
    [[nodiscard]] virtual int PatchCount() const = 0;
    // Patches 1 to 16 as the editor holds them now, the current patch's edits included (also
    // while Compare shows the reference).
    [[nodiscard]] virtual BankTones Tones() const = 0;
    // The name of patch 1 to 16.
    [[nodiscard]] virtual std::string Name(int patch) const = 0;
    // A tone from elsewhere replaces the current patch, as an edit of it; with a name, the patch
    // takes that too.
    virtual void TakeTone(const ToneRecord& tone, const std::optional<std::string>& name,
                          const std::string& stepName) = 0;
    // Tones from elsewhere replace patches `first` on (at most to 16), with their names when
    // given (as many as tones), and the patch count grows to cover them.
    virtual void TakePatches(int first, std::span<const ToneRecord> tones,
                             std::span<const std::string> names, const std::string& stepName) = 0;
    // Before a patch leaves the editor (written into the synth's memory, exported, copied), what
    // is shown becomes the edited version again, as before a save: Compare ends.
    virtual void ShowEditedPatch() = 0;
    // `callback` is called after every change of the current tone: an edit, a patch shown.
    virtual void WatchCurrentTone(std::function<void()> callback) = 0;
};

}  // namespace voxtane::editor
