// "Play Note": middle C on channel 1 for one second on the chosen device.
#include <chrono>

#include "midi/device_operations.h"
#include "ui/form1.h"

namespace voxtane::ui {

namespace {
constexpr midi::DWORD kNoteOn = 0x7F3C90;   // 90 3C 7F
constexpr midi::DWORD kNoteOff = 0x7F3C80;  // 80 3C 7F
constexpr std::chrono::seconds kNoteLength{1};
}  // namespace

void Form1::TestNote() {
    midi::VBSYXGBL& state = midiRun.vbsyxgbl;
    if (state.MidiDeviceChoice == midi::kNoOutputChoice) return;
    if (midi::OpenChosenDevice(*this) == midi::OpenOutcome::Failed) return;
    // A failing note message is not reported: the wait and the close still run.
    (void)midiRun.midiOut.midiOutShortMsg(state.MidiOutHandle, kNoteOn);
    // The note is held by sleeping on a monotonic clock, so it lasts the full second whatever
    // the machine's speed or the time of day.
    midi::SleepUntil(midiRun.clock, midiRun.clock.Now() + kNoteLength);
    (void)midiRun.midiOut.midiOutShortMsg(state.MidiOutHandle, kNoteOff);
    midi::CloseChosenDevice(*this);
}

}  // namespace voxtane::ui
