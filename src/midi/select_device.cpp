// The device list shown at start-up.
#include <string>

#include "ui/form1.h"

namespace voxtane::ui {

void Form1::SelectMidiDevice() {
    midi::MidiOut& midiOut = midiRun.midiOut;
    midi::VBSYXMID& window = midiRun.vbsyxmid;
    NumMidiDevs = static_cast<std::int16_t>(midiOut.midiOutGetNumDevs());
    window.List1.SetList(0, "Device not enabled");
    for (int i = 0; i < NumMidiDevs; ++i) {
        midi::MIDIOUTCAPSA caps{};
        midiRun.vbsyxgbl.MidiResult = midiOut.midiOutGetDevCapsA(i, &caps, midi::kMidiOutCapsSize);
        if (midiRun.vbsyxgbl.MidiResult != 0) {
            // The devices listed so far stay; the window is still shown.
            platform.ShowMessage(
                {"midiOutGetDevCaps Error: " + std::to_string(midiRun.vbsyxgbl.MidiResult),
                 module1.AppTitle, MessageButtons::Ok});
            break;
        }
        window.List1.SetList(i + 1, std::string(caps.szPname));
    }
    window.Show();
    midiRun.deviceWindow.ShowModal(window);
    // Closed by the user without a choice: the choice stays as it was.
    window.Hide();
}

}  // namespace voxtane::ui
