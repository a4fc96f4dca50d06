#pragma once

#include <array>
#include <optional>
#include <string>

#include "editor/editor_state.h"
#include "editor/linked_editor.h"

namespace voxtane::editor {

// A copy keeps the bank as a whole: what a crash or an unsaved exit must not lose.
using RecoveryCopy = WholeBank;

[[nodiscard]] std::string EncodeRecoveryCopy(const RecoveryCopy& copy);
// Nothing for text that is not a whole, intact copy.
[[nodiscard]] std::optional<RecoveryCopy> DecodeRecoveryCopy(const std::string& text);

// The bank as the editor holds it now, the current patch's edit included (also while Compare
// shows the reference); `bankFileName` is the file it was loaded from or saved to.
[[nodiscard]] RecoveryCopy CopyOf(const LinkedEditor& tones, const std::string& bankFileName);

}  // namespace voxtane::editor
