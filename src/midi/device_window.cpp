#include "midi/device_window.h"

namespace voxtane::midi {

void DeviceListBox::SetList(int index, std::string text) {
    if (index == ListCount()) {
        entries_.push_back(std::move(text));
    } else {
        entries_.at(index) = std::move(text);
    }
}

void VBSYXMID::Click(int index) {
    List1.SetListIndex(index);
    List1_Click();
}

void VBSYXMID::List1_Click() {
    vbsyxgbl_.MidiDeviceChoice = MidiOutputChoice::Entry(List1.ListIndex());
    // A click that selects no entry keeps the window open for a real choice.
    if (List1.ListIndex() != -1) Hide();
}

}  // namespace voxtane::midi
