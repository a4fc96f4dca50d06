#pragma once

#include <cstddef>

#include "midi/midi_backend.h"

// What the device library offers to a program that loads it at run time rather than linking
// it: programs that rarely talk to devices need not load RtMidi, JACK and ALSA at every start.
extern "C" {

// The name of the entry point, for dlsym.
#define VOXTANE_DEVICES_ENTRY "voxtane_make_system_midi_backend"

// A backend over every MIDI system of this machine that starts (SystemMidiBackend), owned by
// the caller.
voxtane::midi::MidiBackend* voxtane_make_system_midi_backend();

#define VOXTANE_WAV_ENTRY "voxtane_write_wav"
// Writes mono samples as a 16-bit PCM WAV file; 0 when written, otherwise the reason (at most
// `reasonSize` - 1 bytes) is left in `reason`.
int voxtane_write_wav(const char* path, const float* samples, std::size_t count, int sampleRate,
                      char* reason, std::size_t reasonSize);
}
