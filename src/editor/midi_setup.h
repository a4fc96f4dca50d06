#pragma once

#include <string>
#include <vector>

#include "editor/midi_commands.h"
#include "editor/synth_link.h"

namespace voxtane::editor {

// What the MIDI Setup dialog shows and changes: the output device (as the start-up device list
// offers it), the MIDI input from the synth, the channel and Send While Editing.
struct MidiSetup {
    std::vector<std::string> outputs;  // "Device not enabled", then the devices
    int output = 0;                    // index into outputs
    std::vector<std::string> inputs;   // "None", then the inputs
    int input = 0;
    int channel = 1;
    bool sendWhileEditing = false;
};

inline constexpr const char* kNoInput = "None";

// The devices listed afresh and the choices in force.
[[nodiscard]] MidiSetup ReadMidiSetup(MidiCommands& midiCommands, const SynthLink& link);
// The output choice goes where the device list puts it; the rest to the link, which keeps it.
void ApplyMidiSetup(const MidiSetup& setup, MidiCommands& midiCommands, SynthLink& link);

}  // namespace voxtane::editor
