#include "editor/form1.h"

#include "editor/control_words.h"
#include "editor/tone_display.h"

namespace voxtane::editor {

Form1::Form1(Module1& module1, Platform& platform, MidiCommands& midiCommands, BankFiles& fileStore)
    : module1(module1), platform(platform), midiCommands(midiCommands), fileStore(fileStore) {
    module1.ScratchTone = ShownTone(*this);
    BindHandlers();
}

void Form1::BindHandlers() {
    optLS.onClick = [this](std::int16_t i) { optLS_Click(i); };
    optOCTV.onClick = [this](std::int16_t i) { optOCTV_Click(i); };
    optPDS.onClick = [this](std::int16_t i) { optPDS_Click(i); };
    optOCT.onClick = [this](std::int16_t i) { optOCT_Click(i); };
    HSNote.onChange = [this] { HSNote_Change(); };
    hsFine.onChange = [this] { hsFine_Change(); };
    optWave.onClick = [this](std::int16_t i) { optWave_Click(i); };
    hsDelay.onChange = [this] { hsDelay_Change(); };
    hsRate.onChange = [this] { hsRate_Change(); };
    hsDepth.onChange = [this] { hsDepth_Change(); };
    optModulation.onClick = [this](std::int16_t i) { optModulation_Click(i); };
    optDCO1Waveform1.onClick = [this](std::int16_t i) { optDCO1Waveform1_Click(i); };
    optDCO1Waveform2.onClick = [this](std::int16_t i) { optDCO1Waveform2_Click(i); };
    optDCO2Waveform1.onClick = [this](std::int16_t i) { optDCO2Waveform1_Click(i); };
    optDCO2Waveform2.onClick = [this](std::int16_t i) { optDCO2Waveform2_Click(i); };
    hsDCW1Key.onChange = [this] { hsDCW1Key_Change(); };
    hsDCA1Key.onChange = [this] { hsDCA1Key_Change(); };
    hsDCW2Key.onChange = [this] { hsDCW2Key_Change(); };
    hsDCA2Key.onChange = [this] { hsDCA2Key_Change(); };

    // The envelope arrays share one rule per event; each array passes its envelope.
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const auto id = static_cast<EnvelopeId>(e);
        envelopes[e].rate.onChange = [this, id](std::int16_t i) { RateChange(id, i); };
        envelopes[e].level.onChange = [this, id](std::int16_t i) { LevelChange(id, i); };
        envelopes[e].sustain.onClick = [this, id](std::int16_t) { SustainClick(id); };
        envelopes[e].end.onClick = [this, id](std::int16_t i) { EndClick(id, i); };
    }

    cboPatches.onClick = [this] { cboPatches_Click(); };
    cboPatches.onChange = [this] { cboPatches_Change(); };
    WatchToneEvents();
}

// Every event of a tone control outside a decoding encodes an edit into the current tone: one
// step of the bank's content, named after the control. While a tone is shown, no handler runs.
// The step begins before the control's value changes, so that it keeps what was shown before.
void Form1::WatchToneEvents() {
    const auto begin = [this](std::string_view name) {
        return [this, name = std::string(name)](std::int16_t element) {
            if (module1.ParsingSysex || stepWatcher == nullptr) return;
            ++openToneSteps_;
            stepWatcher->BeginStep(StepName(name, element),
                                   name + "(" + std::to_string(element) + ")");
        };
    };
    const auto end = [this](auto handler) {
        return [this, handler](auto... index) {
            if (module1.ParsingSysex) return;
            handler(index...);
            // A handler run directly began no step of its own.
            if (openToneSteps_ > 0 && stepWatcher != nullptr) {
                --openToneSteps_;
                stepWatcher->EndStep();
            }
            currentToneChanged.Notify();
        };
    };
    for (const NamedControl& named : All()) {
        if (auto* const* option = std::get_if<OptionArray*>(&named.control)) {
            (*option)->beforeEvent = begin(named.name);
            (*option)->onClick = end((*option)->onClick);
        } else if (auto* const* bar = std::get_if<ScrollBar*>(&named.control)) {
            (*bar)->beforeEvent = begin(named.name);
            (*bar)->onChange = end((*bar)->onChange);
        } else if (auto* const* boxes = std::get_if<TextBoxArray*>(&named.control)) {
            (*boxes)->beforeEvent = begin(named.name);
            (*boxes)->onChange = end((*boxes)->onChange);
        }
    }
}

void Form1::ReportParseError(const std::string& text) {
    platform.ShowMessage({text, "Error Parsing Sysex", MessageButtons::Ok, MessageIcon::Critical});
}

}  // namespace voxtane::editor
