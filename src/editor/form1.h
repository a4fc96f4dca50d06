#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "editor/about_box.h"
#include "editor/bank_file_store.h"
#include "editor/controls.h"
#include "editor/files/dialog_folders.h"
#include "editor/midi_commands.h"
#include "editor/module1.h"
#include "editor/patch_list.h"
#include "editor/platform.h"
#include "editor/step_watcher.h"
#include "editor/tone_controls.h"
#include "editor/view_guard.h"
#include "tone/decoded_tone.h"
#include "tone/envelope_codes.h"

namespace voxtane::editor {

// The editor: the main window's model (tone controls, patch list, caption) and the procedures
// behind its events. It works on the run's Module1 state and reaches the user through Platform.
// The named event handlers are thin entry points. Every tone control's event sets one field of
// the current tone (Module1::ScratchTone) from the control and encodes that field's part into the
// record; the bit packing lives in src/tone. Files go through the run's BankFileStore and MIDI
// through its MidiCommands.
class Form1 : public ToneControls {
  public:
    Form1(Module1& module1, Platform& platform, MidiCommands& midiCommands, BankFiles& fileStore);

    Module1& module1;
    Platform& platform;
    MidiCommands& midiCommands;
    BankFiles& fileStore;

    PatchList cboPatches;
    Label Caption{""};
    // Told whenever the current tone changes: an edit of a tone control, or a patch decoded.
    Observers<> currentToneChanged;
    // Told where steps of the bank's content begin and end (the history of undo and redo).
    StepWatcher* stepWatcher = nullptr;
    // Asked to show the edited patch again before it is read, stored or replaced (Compare).
    ViewGuard* viewGuard = nullptr;
    void ShowEditedView() {
        if (viewGuard != nullptr) viewGuard->ShowEditedView();
    }
    // Where the file dialogs start; the run sets it before anything is loaded or saved.
    DialogFolders* dialogFolders = nullptr;
    // Told when the bank was loaded, saved whole or renewed.
    Observers<BankEvent> bankEvents;
    static constexpr int kWindowWidth = 800;
    static constexpr int kWindowHeight = 600;

    // Start-up, patch list, New and program end (form1_patch_list.cpp).
    void Form_Load();
    void cboPatches_Click();
    void cboPatches_Change();
    void CleanPatchList();
    void UpdateFormName();
    void cmdNew_Click();
    void Form_Unload();

    // Files (form1_load.cpp, form1_save.cpp).
    void cmdLoad_Click();
    // Load with `path` chosen: one step, the bank as the file holds it.
    void LoadSysexFile(const std::string& path);
    void cmdSave_Click() { SaveSysex(1, true); }
    void cmdSaveAs_Click() { SaveSysex(2, true); }
    void cmdSaveSinglePatch_Click() { SaveSysex(2, false); }
    // sm 1: the current bank file, asking only when there is none; sm 2: always ask.
    // all: every patch of the bank, or only the current one.
    void SaveSysex(std::int16_t sm, bool all);

    // Commands without a file or tone behind them (form1_commands.cpp).
    void cmdExit_Click();
    void cmdUsingVoxtane_Click();
    void cmdAbout_Click();
    AboutBox About;

    // MIDI output, through the run's MidiCommands.
    void cmdSendOutSysex_Click() { midiCommands.SendPatchSysex(module1.ScratchRecord); }
    void cmdPLayANot_Click() { midiCommands.TestNote(); }

    // Decoding the scratch record into the controls (form1_decoding.cpp).
    void ParseSysex();

    // The default tone, written whole and shown (form1_decoding.cpp).
    void SetDefaults2();

    // Line, pitch, vibrato and key follow (form1_tone_editing.cpp).
    void optLS_Click(std::int16_t Index);
    void optOCTV_Click(std::int16_t Index);
    void optPDS_Click(std::int16_t Index);
    void hsFine_Change();
    void optOCT_Click(std::int16_t Index);
    void HSNote_Change();
    void optWave_Click(std::int16_t Index);
    void hsDelay_Change();
    void hsRate_Change();
    void hsDepth_Change();
    void hsDCA1Key_Change() { KeyFollowChange(EnvelopeKind::DCA, 1); }
    void hsDCA2Key_Change() { KeyFollowChange(EnvelopeKind::DCA, 2); }
    void hsDCW1Key_Change() { KeyFollowChange(EnvelopeKind::DCW, 1); }
    void hsDCW2Key_Change() { KeyFollowChange(EnvelopeKind::DCW, 2); }

    // Waveforms and modulation (form1_waveforms.cpp).
    void optDCO1Waveform1_Click(std::int16_t) { WaveformClick(optDCO1Waveform1, 1, 1); }
    void optDCO1Waveform2_Click(std::int16_t) { WaveformClick(optDCO1Waveform2, 1, 2); }
    void optDCO2Waveform1_Click(std::int16_t) { WaveformClick(optDCO2Waveform1, 2, 1); }
    void optDCO2Waveform2_Click(std::int16_t) { WaveformClick(optDCO2Waveform2, 2, 2); }
    void optModulation_Click(std::int16_t Index);

  private:
    // Reads the bank file and its names file into the bank; false when it gave no patch.
    bool LoadFrom(const std::string& path);
    // Shows a decoding problem and the value assumed in its place.
    void ReportParseError(const std::string& text);

    // Which field of a tone an event edits.
    using ToneField = std::function<int&(DecodedTone&)>;

    void BindHandlers();
    void WatchToneEvents();
    int openToneSteps_ = 0;  // steps begun before a control's event, ended after its handler
    void ShowTone(const ToneDecoding& decoding);
    void EditTone(const ToneField& field, int value);
    void KeyFollowChange(EnvelopeKind kind, int line);
    void WaveformClick(const OptionArray& waveform, int line, int which);
    // The envelope arrays' events (form1_envelope_editing.cpp).
    void RateChange(EnvelopeId envelope, int index);
    void LevelChange(EnvelopeId envelope, int index);
    void SustainClick(EnvelopeId envelope);
    void EndClick(EnvelopeId envelope, int index);
    // Copies the bank slot of the selection into the record and decodes it, or stores back.
    void StoreScratchInto(int slot);
    void LoadScratchFrom(int slot);
};

}  // namespace voxtane::editor
