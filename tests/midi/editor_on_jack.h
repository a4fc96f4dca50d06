#pragma once
// The editor of a JACK test: its MIDI on the JACK server the test started, its device list
// answered by a click, started at once.
#include <string>

#include "devices/system_midi_backend.h"
#include "midi_test_support.h"

namespace voxtane::testing {

struct EditorOnJack {
    // The device list answered with the entry of this text ("JACK: client:port").
    explicit EditorOnJack(const std::string& entry) {
        window.QueueClickOn(entry);
        run.Start();
    }
    // The device list answered with the entry at this place.
    explicit EditorOnJack(int entry) {
        window.QueueClick(entry);
        run.Start();
    }

    devices::SystemMidiBackend backend{{devices::MidiSystem::Jack}};
    editor::ScriptedPlatform platform;
    midi::ScriptedDeviceWindow window;
    midi::SteadyClock clock;
    editor::EditorRun run{platform, backend, window, clock};
};

}  // namespace voxtane::testing
