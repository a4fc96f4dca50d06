#pragma once

#include <memory>

#include "editor/bank_file_store.h"
#include "editor/form1.h"
#include "editor/form1_tones.h"
#include "editor/form1_whole.h"
#include "editor/history/history.h"
#include "editor/midi_commands.h"
#include "editor/module1.h"
#include "editor/platform.h"
#include "editor/recovery/recovery.h"
#include "editor/settings_store.h"
#include "editor/synth_link.h"
#include "editor/ticker.h"
#include "editor/transfer/bank_transfer.h"
#include "editor/transfer/patch_clipboard.h"
#include "midi/clock.h"
#include "midi/midi_run.h"
#include "midi/offline_midi.h"

namespace voxtane::editor {

// One run of the editor: its program-wide state, its main window's model and the capabilities
// the window's handlers reach. Every run starts from fresh state; nothing is shared between runs.
struct EditorRun {
    // A run without MIDI devices: the device list offers only "Device not enabled" and is
    // closed without a choice. Its bank files are read and written in `files` when given (which
    // outlives the run), otherwise on the file system.
    explicit EditorRun(Platform& platform, BankFiles* files = nullptr)
        : offlineMidi_(std::make_unique<midi::OfflineMidi>()),
          platform_(platform),
          midi(offlineMidi_->backend, offlineMidi_->deviceWindow, offlineMidi_->clock),
          midiCommands(midi, platform, module1),
          bankFiles(files != nullptr ? *files : fileStore),
          form1(module1, platform, midiCommands, bankFiles),
          synthLink(midi, midiCommands, platform, settings, ticker, tones, module1.AppTitle) {
        form1.dialogFolders = &dialogFolders;
    }
    // A run whose MIDI output goes through `backend`, whose device list is shown by
    // `deviceWindow`, and whose test note is timed by `clock`; all three outlive the run.
    // The capabilities beside the editor keep their settings in `settings` and are driven by
    // `ticker`; without them, in memory and by hand.
    EditorRun(Platform& platform, midi::MidiBackend& backend, midi::DeviceWindow& deviceWindow,
              midi::Clock& clock, Ticker* ticker = nullptr, SettingsStore* settings = nullptr)
        : platform_(platform),
          midi(backend, deviceWindow, clock),
          midiCommands(midi, platform, module1),
          bankFiles(fileStore),
          form1(module1, platform, midiCommands, bankFiles),
          ticker(ticker != nullptr ? *ticker : manualTicker),
          settings(settings != nullptr ? *settings : memorySettings),
          synthLink(midi, midiCommands, platform, this->settings, this->ticker, tones,
                    module1.AppTitle) {
        form1.dialogFolders = &dialogFolders;
    }
    EditorRun(const EditorRun&) = delete;
    EditorRun& operator=(const EditorRun&) = delete;

    // Starts the editor as the program does: defaults encoded, bank filled, patch 1 selected,
    // output device chosen.
    // The steps of start-up are no steps of the history; the bank as it starts is what Compare
    // compares with; a copy of unsaved changes of an earlier run is offered back.
    void Start() {
        form1.Form_Load();
        history.Clear();
        compare.ResetReferences();
        recovery.OfferRestore();
    }

  private:
    std::unique_ptr<midi::OfflineMidi> offlineMidi_;  // only for a run without MIDI devices
    Platform& platform_;

  public:
    Module1 module1;
    midi::MidiRun midi;
    MidiCommands midiCommands;
    BankFileStore fileStore;
    BankFiles& bankFiles;
    Form1 form1;
    Form1Whole whole{form1};
    PatchCompare compare{whole};
    Form1Tones tones{form1, compare};
    ManualTicker manualTicker;
    MemorySettings memorySettings;
    Ticker& ticker = manualTicker;
    SettingsStore& settings = memorySettings;
    SynthLink synthLink;
    DialogFolders dialogFolders{settings, platform_};
    history::History history{whole, midi.clock};
    PatchClipboard clipboard{tones, platform_, module1.AppTitle};
    BankTransfer transfer{tones, platform_, module1.AppTitle, dialogFolders};
    FileCopyLocks copyLocks;
    midi::SteadyClock copyClock;
    BackgroundCopyWriter copyWriter{copyClock};
    Recovery recovery{whole, tones, platform_, history, copyLocks, copyWriter, module1.AppTitle};
};

}  // namespace voxtane::editor
