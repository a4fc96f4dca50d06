#pragma once

#include <cstddef>

#include "midi/midi_backend.h"
#include "voice/audio_output.h"

// What the device library offers to a program that loads it at run time rather than linking
// it: programs that rarely talk to devices need not load RtMidi, JACK and ALSA at every start.
extern "C" {

// Where the library lies from the folder of a program that loads it, in the build tree as after
// installation; on Windows beside the program.
#ifdef _WIN32
#define VOXTANE_DEVICES_FROM_PROGRAM "voxtane_devices.dll"
#else
#define VOXTANE_DEVICES_FROM_PROGRAM "../lib/voxtane/libvoxtane_devices.so"
#endif

// The name of the entry point, for dlsym.
#define VOXTANE_DEVICES_ENTRY "voxtane_make_system_midi_backend"

// A backend over every MIDI system of this machine that starts (SystemMidiBackend), owned by
// the caller.
voxtane::midi::MidiBackend* voxtane_make_system_midi_backend();

#define VOXTANE_AUDIO_ENTRY "voxtane_make_audio_output"
// The live voice's output on the audio systems of this machine (RtAudioOutput), owned by the
// caller.
voxtane::voice::AudioOutput* voxtane_make_audio_output();

#define VOXTANE_WAV_ENTRY "voxtane_write_wav"
// Writes mono samples as a 16-bit PCM WAV file; 0 when written, otherwise the reason (at most
// `reasonSize` - 1 bytes) is left in `reason`.
int voxtane_write_wav(const char* path, const float* samples, std::size_t count, int sampleRate,
                      char* reason, std::size_t reasonSize);
}
