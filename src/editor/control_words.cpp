#include "editor/control_words.h"

#include <array>
#include <optional>
#include <vector>

#include "tone/envelope_codes.h"

namespace voxtane::editor {
namespace {

const std::vector<std::string_view> kWaveforms{"sawtooth",
                                               "square",
                                               "pulse",
                                               "double sine",
                                               "saw-pulse",
                                               "resonance I (saw)",
                                               "resonance II (triangle)",
                                               "resonance III (trapezoid)"};

struct ControlRow {
    std::string_view name;
    std::string_view caption;                // as the window shows the group
    std::string_view spoken;                 // the group for a screen reader
    std::vector<std::string_view> elements;  // option captions in words; none for a bar
    std::string_view joiner;                 // between group and element: " " or ": "
    std::string_view does;                   // what it does, for the description
};

const std::vector<ControlRow>& Rows() {
    static const std::vector<ControlRow> rows{
        {"optLS",
         "Line Select",
         "Line select",
         {"1", "2", "1+1'", "1+2'"},
         " ",
         "Which lines sound: line 1, line 2, line 1 with a detuned copy of itself, or line 1 with "
         "line 2 detuned"},
        {"optOCTV",
         "Octave Range",
         "Octave range",
         {"0", "+1", "-1"},
         " ",
         "Shifts the whole tone by an octave up or down"},
        {"optPDS",
         "Detune",
         "Detune direction",
         {"+", "-"},
         " ",
         "Whether the second line is detuned up or down"},
        {"optOCT",
         "Octave",
         "Detune octave",
         {"0", "1", "2", "3"},
         " ",
         "Octaves of detune of the second line: 0 to 3"},
        {"HSNote",
         "Note",
         "Detune note",
         {},
         "",
         "Semitones of detune of the second line: 0 to 11"},
        {"hsFine", "Fine", "Detune fine", {}, "", "Fine detune of the second line: 0 to 60"},
        {"optWave",
         "Vibrato",
         "Vibrato wave",
         {"triangle", "rising sawtooth", "falling sawtooth", "square"},
         ": ",
         "The shape of the vibrato"},
        {"hsDelay",
         "Delay",
         "Vibrato delay",
         {},
         "",
         "How long after a key is pressed the vibrato starts: 0 at once to 99 late"},
        {"hsRate",
         "Rate",
         "Vibrato rate",
         {},
         "",
         "How fast the vibrato swings: 0 slow to 99 fast"},
        {"hsDepth",
         "Depth",
         "Vibrato depth",
         {},
         "",
         "How far the vibrato bends the pitch: 0 to 99"},
        {"optModulation",
         "Modulation",
         "Modulation",
         {"none", "ring", "noise"},
         ": ",
         "Line 2 multiplied by line 1 (ring) or mixed with noise"},
        {"optDCO1Waveform1", "DCO 1 Waveform 1", "DCO 1 waveform 1", kWaveforms, ": ",
         "The first waveform of line 1"},
        {"optDCO1Waveform2", "DCO 1 Waveform 2", "DCO 1 waveform 2", kWaveforms, ": ",
         "The second waveform of line 1, played in turn with the first"},
        {"optDCO2Waveform1", "DCO 2 Waveform 1", "DCO 2 waveform 1", kWaveforms, ": ",
         "The first waveform of line 2"},
        {"optDCO2Waveform2", "DCO 2 Waveform 2", "DCO 2 waveform 2", kWaveforms, ": ",
         "The second waveform of line 2, played in turn with the first"},
        {"hsDCW1Key",
         "DCW1 Key",
         "DCW 1 key follow",
         {},
         "",
         "How much less distortion and faster wave envelope higher notes get on line 1: 0 to 9"},
        {"hsDCA1Key",
         "DCA1 Key",
         "DCA 1 key follow",
         {},
         "",
         "How much faster the amplitude envelope runs for higher notes on line 1: 0 to 9"},
        {"hsDCW2Key",
         "DCW2 Key",
         "DCW 2 key follow",
         {},
         "",
         "How much less distortion and faster wave envelope higher notes get on line 2: 0 to 9"},
        {"hsDCA2Key",
         "DCA2 Key",
         "DCA 2 key follow",
         {},
         "",
         "How much faster the amplitude envelope runs for higher notes on line 2: 0 to 9"},
        // The patch band: not tone parameters, but a screen reader explains them all the same.
        {"cboPatches",
         "Patch List",
         "Patch List",
         {},
         "",
         "The 16 patches of the bank: pick the one to edit, or type to rename it"},
        {"cmdSendOutSysex",
         "Send Patch",
         "Send patch",
         {},
         "",
         "Sends the patch being edited to the synth"},
        {"cmdPLayANot",
         "Play Note",
         "Play note",
         {},
         "",
         "Plays middle C on the synth for a second"},
        {"cmdCompare",
         "Compare",
         "Compare",
         {},
         "",
         "Shows the patch as last loaded or saved, to hear it beside the edited one"},
    };
    return rows;
}

const ControlRow* RowOf(std::string_view control) {
    for (const ControlRow& row : Rows())
        if (row.name == control) return &row;
    return nullptr;
}

enum class EnvelopeField { Rate, Level, Sustain, End };

struct EnvelopeControl {
    const EnvelopeSpec* spec;
    EnvelopeField field;
};

// txtDCA1Rate, txtDCW2Lvl, optDCO1S, optDCA2E.
std::optional<EnvelopeControl> EnvelopeControlOf(std::string_view control) {
    for (const EnvelopeSpec& spec : kEnvelopes) {
        std::string id(spec.caption);
        id.erase(id.find(' '), 1);  // "DCA1"
        const std::pair<std::string, EnvelopeField> forms[] = {
            {"txt" + id + "Rate", EnvelopeField::Rate},
            {"txt" + id + "Lvl", EnvelopeField::Level},
            {"opt" + id + "S", EnvelopeField::Sustain},
            {"opt" + id + "E", EnvelopeField::End}};
        for (const auto& [name, field] : forms)
            if (control == name) return EnvelopeControl{&spec, field};
    }
    return std::nullopt;
}

std::string_view EnvelopeRole(EnvelopeKind kind) {
    switch (kind) {
        case EnvelopeKind::DCA:
            return "amplitude";
        case EnvelopeKind::DCW:
            return "wave";
        case EnvelopeKind::DCO:
            return "pitch";
    }
    return "";
}

std::string StepList(int step) {
    return step >= 0 ? std::to_string(step + 1) : std::string("none");
}

}  // namespace

bool HasWords(std::string_view control) {
    return EnvelopeControlOf(control).has_value() || RowOf(control) != nullptr;
}

std::optional<EnvelopeId> EnvelopeOfControl(std::string_view control) {
    const auto envelope = EnvelopeControlOf(control);
    if (!envelope) return std::nullopt;
    return static_cast<EnvelopeId>(envelope->spec - kEnvelopes.data());
}

std::string StepName(std::string_view control, int index) {
    if (const auto envelope = EnvelopeControlOf(control)) {
        const std::string caption(envelope->spec->caption);
        switch (envelope->field) {
            case EnvelopeField::Rate:
                return caption + " Rate " + std::to_string(index + 1);
            case EnvelopeField::Level:
                return caption + " Level " + std::to_string(index + 1);
            case EnvelopeField::Sustain:
                return caption + " Sustain";
            case EnvelopeField::End:
                return caption + " End";
        }
    }
    if (const ControlRow* row = RowOf(control)) return std::string(row->caption);
    return std::string(control);
}

std::string AccessibleName(std::string_view control, int index) {
    if (const auto envelope = EnvelopeControlOf(control)) {
        const std::string caption(envelope->spec->caption);
        const std::string step = std::to_string(index + 1);
        switch (envelope->field) {
            case EnvelopeField::Rate:
                return caption + " step " + step + " rate";
            case EnvelopeField::Level:
                return caption + " step " + step + " level";
            case EnvelopeField::Sustain:
                return caption + " step " + step + " sustain";
            case EnvelopeField::End:
                return caption + " end step " + step;
        }
    }
    const ControlRow* row = RowOf(control);
    if (row == nullptr) return std::string(control);
    if (row->elements.empty() || index < 0 || index >= static_cast<int>(row->elements.size()))
        return std::string(row->spoken);
    return std::string(row->spoken) + std::string(row->joiner) + std::string(row->elements[index]);
}

std::string Description(std::string_view control, int index, int sustainStep, int endStep) {
    if (const auto envelope = EnvelopeControlOf(control)) {
        const EnvelopeSpec& spec = *envelope->spec;
        const std::string of = " of the " + std::string(EnvelopeRole(spec.kind)) +
                               " envelope of line " + std::to_string(spec.line);
        const std::string step = std::to_string(index + 1);
        const std::string marks = " Sustain at step " + StepList(sustainStep) + ", end at step " +
                                  StepList(endStep) + ".";
        switch (envelope->field) {
            case EnvelopeField::Rate:
                return "Rate of step " + step + of + ": 0 slow to 99 fast." + marks;
            case EnvelopeField::Level:
                return "Level of step " + step + of + ": 0 to 99." + marks;
            case EnvelopeField::Sustain:
                return "Holds the" + of + " at step " + step + " while the key is held.";
            case EnvelopeField::End:
                return "Ends the" + of + " at step " + step + ".";
        }
    }
    const ControlRow* row = RowOf(control);
    if (row == nullptr) return {};
    return std::string(row->does) + ".";
}

}  // namespace voxtane::editor
