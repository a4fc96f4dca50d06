#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
#include "tone/envelope_codes.h"

namespace voxtane::editor {

// The editor: the main window's model (tone controls, patch list, caption) and the procedures
// behind its events. It works on the run's Module1 state and reaches the user through Platform.
// The named event handlers are thin entry points; where one rule serves several controls (six
// envelopes, four waveform groups, four key-follow bars) it is written once below them. Files
// go through the run's BankFileStore and MIDI through its MidiCommands.
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
    void cmdLoad_Click() { LoadSysexFiles(); }
    void LoadSysexFiles();
    // Load with `path` chosen: one step, the bank as the file holds it.
    void LoadSysexFile(const std::string& path);
    // Reads the bank file and its names file into the bank; false when it gave no patch.
    bool LoadFrom(const std::string& path);
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
    void SelectMidiDevice() { midiCommands.SelectMidiDevice(); }
    void cmdSendOutSysex_Click() { SendPatchSysex(); }
    void cmdPLayANot_Click() { TestNote(); }
    void SendPatchSysex() { midiCommands.SendPatchSysex(module1.ScratchRecord); }
    void TestNote() { midiCommands.TestNote(); }

    // Decoding the scratch record into the controls (form1_decoding.cpp).
    void ParseSysex();
    void DecodeDCOWave(std::int16_t LineVal, std::int16_t& DCOWave1, std::int16_t& DCOWave2);

    // The default tone, encoded by driving every control's handler (form1_defaults.cpp).
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
    void hsDCA1Key_Change() { KeyFollowChange(KeyFollow::DCA, 1); }
    void hsDCA2Key_Change() { KeyFollowChange(KeyFollow::DCA, 2); }
    void hsDCW1Key_Change() { KeyFollowChange(KeyFollow::DCW, 1); }
    void hsDCW2Key_Change() { KeyFollowChange(KeyFollow::DCW, 2); }

    // Waveforms and modulation (form1_waveforms.cpp).
    void optDCO1Waveform1_Click(std::int16_t) { WaveformClick(1); }
    void optDCO1Waveform2_Click(std::int16_t) { WaveformClick(1); }
    void optDCO2Waveform1_Click(std::int16_t) { WaveformClick(2); }
    void optDCO2Waveform2_Click(std::int16_t) { WaveformClick(2); }
    void optModulation_Click(std::int16_t Index);
    void CalcMFW(std::int16_t LineVal);

    // Envelopes (form1_envelope_editing.cpp).
    void txtDCA1Rate_Change(std::int16_t Index) { RateChange(kDCA1, Index); }
    void txtDCA2Rate_Change(std::int16_t Index) { RateChange(kDCA2, Index); }
    void txtDCW1Rate_Change(std::int16_t Index) { RateChange(kDCW1, Index); }
    void txtDCW2Rate_Change(std::int16_t Index) { RateChange(kDCW2, Index); }
    void txtDCO1Rate_Change(std::int16_t Index) { RateChange(kDCO1, Index); }
    void txtDCO2Rate_Change(std::int16_t Index) { RateChange(kDCO2, Index); }
    void txtDCA1Lvl_Change(std::int16_t Index) { LevelChange(kDCA1, Index); }
    void txtDCA2Lvl_Change(std::int16_t Index) { LevelChange(kDCA2, Index); }
    void txtDCW1Lvl_Change(std::int16_t Index) { LevelChange(kDCW1, Index); }
    void txtDCW2Lvl_Change(std::int16_t Index) { LevelChange(kDCW2, Index); }
    void txtDCO1Lvl_Change(std::int16_t Index) { LevelChange(kDCO1, Index); }
    void txtDCO2Lvl_Change(std::int16_t Index) { LevelChange(kDCO2, Index); }
    void optDCA1S_Click(std::int16_t Index) { SustainClick(kDCA1, Index); }
    void optDCA2S_Click(std::int16_t Index) { SustainClick(kDCA2, Index); }
    void optDCW1S_Click(std::int16_t Index) { SustainClick(kDCW1, Index); }
    void optDCW2S_Click(std::int16_t Index) { SustainClick(kDCW2, Index); }
    void optDCO1S_Click(std::int16_t Index) { SustainClick(kDCO1, Index); }
    void optDCO2S_Click(std::int16_t Index) { SustainClick(kDCO2, Index); }
    void optDCA1E_Click(std::int16_t Index) { EncodeEndStepIfEditing("A", 1, Index); }
    void optDCA2E_Click(std::int16_t Index) { EncodeEndStepIfEditing("A", 2, Index); }
    void optDCW1E_Click(std::int16_t Index) { EncodeEndStepIfEditing("W", 1, Index); }
    void optDCW2E_Click(std::int16_t Index) { EncodeEndStepIfEditing("W", 2, Index); }
    void optDCO1E_Click(std::int16_t Index) { EncodeEndStepIfEditing("O", 1, Index); }
    void optDCO2E_Click(std::int16_t Index) { EncodeEndStepIfEditing("O", 2, Index); }
    void EncodeEndStep(std::string_view EnvName, std::int16_t LineVal, std::int16_t Index);

    // Shows a decoding problem and the value assumed in its place.
    void ReportParseError(const std::string& text);

  private:
    enum class KeyFollow { DCA, DCW };

    void BindHandlers();
    void WatchToneEvents();
    int openToneSteps_ = 0;  // steps begun before a control's event, ended after its handler
    void ShowRecord();
    void KeyFollowChange(KeyFollow kind, int line);
    void WaveformClick(int line);
    void RateChange(EnvelopeId envelope, int index);
    void LevelChange(EnvelopeId envelope, int index);
    void SustainClick(EnvelopeId envelope, int index);
    void EncodeEndStepIfEditing(std::string_view envName, int line, int index);
    void EncodeRate(EnvelopeId envelope, int index);
    void EncodeLevel(EnvelopeId envelope, int index, bool sustain);
    // Copies the bank slot of the selection into the record and decodes it, or stores back.
    void StoreScratchInto(int slot);
    void LoadScratchFrom(int slot);
};

}  // namespace voxtane::editor
