#pragma once

#include <string>

// The MIDI libraries print their own complaints to the terminal: ALSA when its sequencer is
// missing, JACK when no server runs or a request fails. The output layer reports every failure
// as a result code with its reason instead, so these are kept off the terminal; JACK's are kept
// for the reason of the failing call.
namespace voxtane::devices {

// Sends the ALSA and JACK libraries' messages nowhere, for the rest of the process.
void QuietMidiLibraries();

// What the JACK library complained of last on this thread since the last call ("" if nothing).
[[nodiscard]] std::string TakeJackComplaint();

}  // namespace voxtane::devices
