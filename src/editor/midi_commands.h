#pragma once

#include <cstdint>
#include <string>

#include "editor/module1.h"
#include "editor/platform.h"
#include "midi/midi_run.h"

namespace voxtane::editor {

// The editor's MIDI operations over the multimedia-shaped output layer: the device list shown at
// start-up, "Send Patch" and "Play Note". Each operation opens the chosen device, sends and
// closes it before it returns; every failure is reported to the user under the program's title.
class MidiCommands {
  public:
    MidiCommands(midi::MidiRun& midiRun, Platform& platform, const Module1& module1)
        : midiRun(midiRun), platform_(platform), module1_(module1) {}

    midi::MidiRun& midiRun;
    std::int16_t NumMidiDevs = 0;

    void SelectMidiDevice();
    void SendPatchSysex(const ToneRecord& record);
    void SendLongMessage(const std::string& message);
    void TestNote();
    void ReportMidiError(const std::string& operation, std::int16_t code);

  private:
    enum class OpenOutcome { Opened, Failed };
    // Opens the device of the current choice (its value minus 1; "" gives -1, the default
    // output). A failure has been reported as "Open" when this gives Failed.
    [[nodiscard]] OpenOutcome OpenChosenDevice();
    void CloseChosenDevice();
    void Report(const std::string& text, MessageIcon icon = MessageIcon::None);

    Platform& platform_;
    const Module1& module1_;
};

// The choice with which the senders do nothing at all.
inline constexpr const char* kNoOutputChoice = "N";

}  // namespace voxtane::editor
