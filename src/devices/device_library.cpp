#include "devices/device_library.h"

#include "devices/system_midi_backend.h"

extern "C" voxtane::midi::MidiBackend* voxtane_make_system_midi_backend() {
    return new voxtane::devices::SystemMidiBackend();
}
