#pragma once

#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"

namespace voxtane::midi {

// What a run without MIDI devices uses: a backend offering none, a device window closed
// without a choice, and the steady clock.
struct OfflineMidi {
    RecordingBackend backend;
    ScriptedDeviceWindow deviceWindow;
    SteadyClock clock;
};

}  // namespace voxtane::midi
