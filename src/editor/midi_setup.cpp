#include "editor/midi_setup.h"

#include <algorithm>

#include "midi/midi_state.h"

namespace voxtane::editor {

MidiSetup ReadMidiSetup(MidiCommands& midiCommands, const SynthLink& link) {
    MidiSetup setup;
    setup.outputs = midiCommands.ListOutputs();
    const std::int32_t chosen = midiCommands.midiRun.vbsyxgbl.MidiDeviceChoice.ListEntry();
    setup.output = chosen >= 0 && chosen < static_cast<std::int32_t>(setup.outputs.size())
                       ? static_cast<int>(chosen)
                       : 0;
    setup.inputs = {kNoInput};
    for (std::string& name : midiCommands.midiRun.backend.InputNames())
        setup.inputs.push_back(std::move(name));
    const LinkSettings& settings = link.Settings();
    // An input kept from an earlier run that is not here now stays chosen, so that it is used
    // again once it is back.
    if (!settings.input.empty()) {
        const auto found = std::find(setup.inputs.begin(), setup.inputs.end(), settings.input);
        if (found == setup.inputs.end()) setup.inputs.push_back(settings.input);
        setup.input =
            static_cast<int>(std::find(setup.inputs.begin(), setup.inputs.end(), settings.input) -
                             setup.inputs.begin());
    }
    setup.channel = settings.channel;
    setup.sendWhileEditing = settings.sendWhileEditing;
    return setup;
}

void ApplyMidiSetup(const MidiSetup& setup, MidiCommands& midiCommands, SynthLink& link) {
    midiCommands.midiRun.vbsyxgbl.MidiDeviceChoice = midi::MidiOutputChoice::Entry(setup.output);
    LinkSettings settings;
    if (setup.input > 0 && setup.input < static_cast<int>(setup.inputs.size()))
        settings.input = setup.inputs[setup.input];
    settings.channel = setup.channel;
    settings.sendWhileEditing = setup.sendWhileEditing;
    link.ApplySettings(settings);
}

}  // namespace voxtane::editor
