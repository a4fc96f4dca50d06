#pragma once

#include <array>
#include <optional>
#include <string>

#include "editor/controls.h"
#include "editor/form1.h"
#include "editor/linked_editor.h"

namespace voxtane::editor {

// What the editor holds that a crash or an unsaved exit must not lose: the bank, the names, the
// patch count, the bank file and the current patch.
struct RecoveryCopy {
    std::array<ToneRecord, kBankSlots> tones{};
    std::array<std::string, kBankSlots> names;
    int patchCount = 0;
    std::string bankFileName;
    int currentPatch = 1;
    friend bool operator==(const RecoveryCopy&, const RecoveryCopy&) = default;
};

[[nodiscard]] std::string EncodeRecoveryCopy(const RecoveryCopy& copy);
// Nothing for text that is not a whole, intact copy.
[[nodiscard]] std::optional<RecoveryCopy> DecodeRecoveryCopy(const std::string& text);

// The bank as the editor holds it now, the current patch's edit included (also while Compare
// shows the reference).
[[nodiscard]] RecoveryCopy CopyOf(const Form1& form, const LinkedEditor& tones);
// Puts a copy into the editor as one step of the history named `stepName`.
void TakeCopy(Form1& form, const RecoveryCopy& copy, const std::string& stepName);

}  // namespace voxtane::editor
