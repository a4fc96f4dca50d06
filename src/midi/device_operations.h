#pragma once

namespace voxtane::ui {
class Form1;
}

// The open and close around every MIDI operation of the editor.
namespace voxtane::midi {

enum class OpenOutcome { Opened, Failed };

// Opens the device of the current choice (its value minus 1; "" gives -1, the default output).
// A failure has been reported as "Open" when this returns Failed; nothing is to be sent or
// closed then.
[[nodiscard]] OpenOutcome OpenChosenDevice(ui::Form1& form);
// Closes the device opened for this operation, reporting a failure as "Close".
void CloseChosenDevice(ui::Form1& form);

// The choice with which the senders do nothing at all.
inline constexpr const char* kNoOutputChoice = "N";

}  // namespace voxtane::midi
