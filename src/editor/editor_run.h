#pragma once

#include <memory>

#include "editor/bank_file_store.h"
#include "editor/form1.h"
#include "editor/form1_tones.h"
#include "editor/midi_commands.h"
#include "editor/module1.h"
#include "editor/platform.h"
#include "editor/settings_store.h"
#include "editor/synth_link.h"
#include "editor/ticker.h"
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
          form1(module1, platform, midiCommands, fileStore),
          synthLink(midi, midiCommands, platform, settings, ticker, tones, module1.AppTitle) {}
    // A run whose MIDI output goes through `backend`, whose device list is shown by
    // `deviceWindow`, and whose test note is timed by `clock`; all three outlive the run.
    // The capabilities beside the editor keep their settings in `settings` and are driven by
    // `ticker`; without them, in memory and by hand.
    EditorRun(Platform& platform, midi::MidiBackend& backend, midi::DeviceWindow& deviceWindow,
              midi::Clock& clock, Ticker* ticker = nullptr, SettingsStore* settings = nullptr)
        : midi(backend, deviceWindow, clock),
          midiCommands(midi, platform, module1),
          form1(module1, platform, midiCommands, fileStore),
          ticker(ticker != nullptr ? *ticker : manualTicker),
          settings(settings != nullptr ? *settings : memorySettings),
          synthLink(midi, midiCommands, platform, this->settings, this->ticker, tones,
                    module1.AppTitle) {}
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
    Form1Tones tones{form1};
    ManualTicker manualTicker;
    MemorySettings memorySettings;
    Ticker& ticker = manualTicker;
    SettingsStore& settings = memorySettings;
    SynthLink synthLink;
};

}  // namespace voxtane::editor
