#pragma once

// The MIDI libraries print their own complaints to the terminal: ALSA when its sequencer is
// missing, JACK when no server runs. The output layer reports every failure as a result code
// with its reason instead, so these are kept quiet.
namespace voxtane::midi {

// Sends the ALSA and JACK libraries' messages nowhere, for the rest of the process.
void QuietMidiLibraries();

}  // namespace voxtane::midi
