#pragma once

#include <QWidget>

#include "editor/midi_commands.h"
#include "editor/synth_link.h"

namespace voxtane::qt {

// "MIDI Setup": the output device, the MIDI input from the synth, the MIDI channel and Send
// While Editing. The devices are listed afresh each time; OK puts the choices in force (the
// link keeps them for the next run), Cancel changes nothing.
void ShowMidiSetupDialog(QWidget& parent, editor::MidiCommands& midiCommands,
                         editor::SynthLink& link);

}  // namespace voxtane::qt
