#pragma once

#include <string>
#include <string_view>

#include "editor/controls.h"
#include "editor/module1.h"

// What an envelope box stores for the text typed into it, and how the user is told when that is
// not what the text says: the window says it in the status bar and the box's description when
// the box is left, the command line on standard error.
namespace voxtane::editor {

struct EnvelopeEntry {
    int stored = 0;    // the number the tone is encoded with: 0 for anything outside 0 to 99
    std::string note;  // "" when the text is that number
};

// Box `index` of the envelope control `control` ("txtDCW1Rate") holding `text`. The note names
// the box: "DCW 1 step 4 rate: 150 is outside 0 to 99; 0 is stored".
[[nodiscard]] EnvelopeEntry ReadEnvelopeEntry(std::string_view control, int index,
                                              std::string_view text);

// Shows the stored number in box `index` in place of the text that gave it, without encoding
// anything again or making a step: the tone already holds that number.
void ShowStoredNumber(Module1& module1, TextBoxArray& boxes, int index);

}  // namespace voxtane::editor
