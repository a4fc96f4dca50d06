#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "bank/bank_limits.h"
#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

// Everything a step can change, as it stood at one moment: the bank, the names, the patch count,
// the bank file, and the view of the current patch (the record being edited, every control as
// it shows, a box's typed text included, and the patch list's selection and text).
namespace voxtane::editor {

struct ViewState {
    std::int16_t currentPatch = 0;
    std::int16_t previousPatch = 0;
    ToneRecord scratch{};
    DecodedTone tone{};  // the record as typed values, which the next edit changes
    // Every control's value in the order of ToneControls::All(), packed: a step keeps two views,
    // and a thousand steps must stay small.
    std::string controls;
    int listIndex = -1;
    std::string listText;
    int selStart = 0;
    friend bool operator==(const ViewState&, const ViewState&) = default;
};

using SharedRecord = std::shared_ptr<const ToneRecord>;

struct EditorState {
    std::array<SharedRecord, kBankSlots + 1> records;
    std::array<std::string, kBankSlots> names;
    std::int16_t patchCount = 0;
    std::string bankFileName;
    ViewState view;

    // The bank as a save writes it: the records with the record being edited in its own slot.
    [[nodiscard]] ToneRecord EffectiveSlot(int slot) const;
    // Bytes this state holds that no earlier state shares.
    [[nodiscard]] std::size_t OwnBytes(const EditorState* earlier) const;
};

// Which parts differ between two states; a slot differs when its record as a save would write
// it differs (the record being edited stands for its slot).
struct Changed {
    std::array<bool, kBankSlots + 1> records{};
    std::array<bool, kBankSlots> names{};
    bool patchCount = false;
    bool bankFileName = false;
    bool view = false;
    [[nodiscard]] bool Any() const;
};
[[nodiscard]] Changed Compare(const EditorState& a, const EditorState& b);

// What the editor holds that a crash or an unsaved exit must not lose: the bank, the names, the
// patch count, the bank file and the current patch.
struct WholeBank {
    std::array<ToneRecord, kBankSlots> tones{};
    std::array<std::string, kBankSlots> names;
    int patchCount = 0;
    std::string bankFileName;
    int currentPatch = 1;
    friend bool operator==(const WholeBank&, const WholeBank&) = default;
};

}  // namespace voxtane::editor
