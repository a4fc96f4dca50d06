// Opening and closing the chosen device, and the report of a failing MIDI call.
#include "midi/device_operations.h"

#include <array>

#include "ui/form1.h"

namespace voxtane::midi {

OpenOutcome OpenChosenDevice(ui::Form1& form) {
    VBSYXGBL& state = form.midiRun.vbsyxgbl;
    state.MidiDeviceId = static_cast<std::int32_t>(NumericValue(state.MidiDeviceChoice) - 1);
    const auto rc = static_cast<std::int16_t>(form.midiRun.midiOut.midiOutOpen(
        &state.MidiOutHandle, state.MidiDeviceId, 0, 0, CALLBACK_NULL));
    if (rc != 0) {
        form.ReportMidiError("Open", rc);
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
}

void CloseChosenDevice(ui::Form1& form) {
    VBSYXGBL& state = form.midiRun.vbsyxgbl;
    const auto rc =
        static_cast<std::int16_t>(form.midiRun.midiOut.midiOutClose(state.MidiOutHandle));
    if (rc != 0) form.ReportMidiError("Close", rc);
}

}  // namespace voxtane::midi

namespace voxtane::ui {

void Form1::ReportMidiError(const std::string& operation, std::int16_t code) {
    std::array<char, 132> description{};
    // The code goes on widened with its sign, as the error-text call takes a 32-bit number.
    midiRun.vbsyxgbl.MidiResult = midiRun.midiOut.midiOutGetErrorTextA(
        static_cast<midi::MMRESULT>(static_cast<std::int32_t>(code)), description.data(), 128);
    platform.ShowMessage({"Operation: " + operation + "\r\n" + std::string(description.data()),
                          module1.AppTitle, MessageButtons::Ok});
}

}  // namespace voxtane::ui
