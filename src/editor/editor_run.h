#pragma once

#include <memory>

#include "editor/bank_file_store.h"
#include "editor/form1.h"
#include "editor/midi_commands.h"
#include "editor/module1.h"
#include "editor/platform.h"
#include "midi/midi_run.h"
#include "midi/offline_midi.h"

namespace voxtane::editor {

// One run of the editor: its program-wide state, its main window's model and the capabilities
// the window's handlers reach. Every run starts from fresh state; nothing is shared between runs.
struct EditorRun {
    // A run without MIDI devices: the device list offers only "Device not enabled" and is
    // closed without a choice.
    explicit EditorRun(Platform& platform)
        : offlineMidi_(std::make_unique<midi::OfflineMidi>()),
          midi(offlineMidi_->backend, offlineMidi_->deviceWindow, offlineMidi_->clock),
          midiCommands(midi, platform, module1),
          form1(module1, platform, midiCommands, fileStore) {}
    // A run whose MIDI output goes through `backend`, whose device list is shown by
    // `deviceWindow`, and whose test note is timed by `clock`; all three outlive the run.
    EditorRun(Platform& platform, midi::MidiBackend& backend, midi::DeviceWindow& deviceWindow,
              midi::Clock& clock)
        : midi(backend, deviceWindow, clock),
          midiCommands(midi, platform, module1),
          form1(module1, platform, midiCommands, fileStore) {}
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
    MidiCommands midiCommands;
    BankFileStore fileStore;
    Form1 form1;
};

}  // namespace voxtane::editor
