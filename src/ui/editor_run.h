#pragma once

#include <memory>

#include "bank/module1.h"
#include "midi/midi_run.h"
#include "midi/offline_midi.h"
#include "ui/form1.h"
#include "ui/platform.h"

namespace voxtane::ui {

// One run of the editor: its program-wide state and its main window's model. Every run starts
// from fresh state; nothing is shared between runs.
struct EditorRun {
    // A run without MIDI devices: the device list offers only "Device not enabled" and is
    // closed without a choice.
    explicit EditorRun(Platform& platform)
        : offlineMidi_(std::make_unique<midi::OfflineMidi>()),
          midi(offlineMidi_->backend, offlineMidi_->deviceWindow, offlineMidi_->clock),
          form1(module1, platform, midi) {}
    // A run whose MIDI output goes through `backend`, whose device list is shown by
    // `deviceWindow`, and whose test note is timed by `clock`; all three outlive the run.
    EditorRun(Platform& platform, midi::MidiBackend& backend, midi::DeviceWindow& deviceWindow,
              midi::Clock& clock)
        : midi(backend, deviceWindow, clock), form1(module1, platform, midi) {}
    EditorRun(const EditorRun&) = delete;
    EditorRun& operator=(const EditorRun&) = delete;

    // Starts the editor as the program does: defaults encoded, bank filled, patch 1 selected,
    // output device chosen.
    void Start() { form1.Form_Load(); }

  private:
    std::unique_ptr<midi::OfflineMidi> offlineMidi_;  // only for a run without MIDI devices

  public:
    Module1 module1;
    midi::MidiRun midi;
    Form1 form1;
};

}  // namespace voxtane::ui
