#pragma once

#include "midi/clock.h"
#include "midi/device_window.h"
#include "midi/midi_backend.h"
#include "midi/midi_out.h"
#include "midi/midi_state.h"

namespace voxtane::midi {

// The MIDI side of one program run: the output layer over the run's backend, the shared MIDI
// state, the device window's model, what shows that window, and the clock of the test note.
struct MidiRun {
    MidiRun(MidiBackend& backend, DeviceWindow& deviceWindow, Clock& clock)
        : backend(backend), midiOut(backend), deviceWindow(deviceWindow), clock(clock) {}
    MidiRun(const MidiRun&) = delete;
    MidiRun& operator=(const MidiRun&) = delete;

    MidiBackend& backend;  // also for what goes beyond the output layer: inputs, exchanges
    MidiOut midiOut;
    VBSYXGBL vbsyxgbl;
    VBSYXMID vbsyxmid{vbsyxgbl};
    DeviceWindow& deviceWindow;
    Clock& clock;
};

}  // namespace voxtane::midi
