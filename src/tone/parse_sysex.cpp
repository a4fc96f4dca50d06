// Decoding the scratch record into the tone controls.
#include <algorithm>
#include <string>

#include "tone/tone_codes.h"
#include "tone/tone_layout.h"
#include "ui/form1.h"

namespace voxtane::ui {
namespace {

// Holds the decoding guard for one run of ParseSysex, also when a step throws.
class ParsingGuard {
  public:
    explicit ParsingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~ParsingGuard() { flag_ = false; }
    ParsingGuard(const ParsingGuard&) = delete;
    ParsingGuard& operator=(const ParsingGuard&) = delete;

  private:
    bool& flag_;
};

void ShowValue(const ScrollBar& bar, Label& label) {
    label.SetText(std::to_string(bar.Value()));
}

}  // namespace

void Form1::ParseSysex() {
    ParsingGuard guard(module1.ParsingSysex);
    const ToneRecord& record = module1.ScratchRecord;

    const int lineSelect = record[1] & 3;
    optLS.Select(lineSelect);
    module1.StoredLineSelect = static_cast<std::int16_t>(lineSelect);

    int octaveRange = (record[1] & 12) / 4;
    if (octaveRange > 2) {
        ReportParseError("Error in Octave Code, Octave = 0 assumed");
        octaveRange = 0;
    }
    optOCTV.Select(octaveRange);
    module1.StoredOctaveRange = static_cast<std::int16_t>(4 * octaveRange);

    optPDS.Select(record[3] != 0 ? 1 : 0);

    // Fine codes the synth never uses leave the slider where it was.
    if (const auto fine = FineSliderFromByte(ReadToneByte(record, layout::kDetuneFine)))
        hsFine.SetValue(*fine);
    ShowValue(hsFine, lblFine);

    DecodeDetuneOctaveAndNote();

    if (const auto wave = VibratoWaveIndexFromCode(ReadToneByte(record, layout::kVibratoWave)))
        optWave.Select(*wave);

    DecodeVibratoValue(hsDelay, lblDelay, layout::kVibratoDelay, "Delay");
    DecodeVibratoValue(hsRate, lblRate, layout::kVibratoRate, "Rate");
    DecodeVibratoValue(hsDepth, lblDepth, layout::kVibratoDepth, "Depth");

    // Both calls share the two outputs: a code that names no waveform keeps what line 1 gave.
    std::int16_t wave1 = 0;
    std::int16_t wave2 = 0;
    DecodeDCOWave(1, wave1, wave2);
    // A line 1 code that names no waveform shows the first waveform instead of nothing.
    for (auto [wave, name] : {std::pair{&wave1, "1"}, std::pair{&wave2, "2"}}) {
        if (*wave < 1 || *wave > 8) {
            ReportParseError(std::string("Error in DCO 1 Waveform ") + name +
                             " Code, Waveform = 1 assumed");
            *wave = 1;
        }
    }
    optDCO1Waveform1.Select(wave1 - 1);
    optDCO1Waveform2.Select(wave2 - 1);
    DecodeDCOWave(2, wave1, wave2);
    optDCO2Waveform1.Select(wave1 - 1);
    optDCO2Waveform2.Select(wave2 - 1);

    DecodeKeyFollowValue(hsDCW1Key, lblDCW1Key, 37, "DCW 1");
    DecodeKeyFollowValue(hsDCA1Key, lblDCA1Key, 33, "DCA 1");
    DecodeKeyFollowValue(hsDCW2Key, lblDCW2Key, 151, "DCW 2");
    DecodeKeyFollowValue(hsDCA2Key, lblDCA2Key, 147, "DCA 2");

    for (EnvelopeId envelope : {kDCO1, kDCW1, kDCA1, kDCO2, kDCW2, kDCA2}) DecodeEndStep(envelope);

    for (std::int16_t stp = 1; stp <= kEnvelopeSteps; ++stp) {
        for (std::int16_t line : {1, 2}) DecodeDCARate(line, stp);
        for (std::int16_t line : {1, 2}) DecodeDCWRate(line, stp);
        for (std::int16_t line : {1, 2}) DecodeDCORate(line, stp);
        for (std::int16_t line : {1, 2}) DecodeDCALevel(line, stp);
        for (std::int16_t line : {1, 2}) DecodeDCWLevel(line, stp);
        for (std::int16_t line : {1, 2}) DecodeDCOLevel(line, stp);
    }
}

// Octave and note share one byte (12 x octave + note). A byte beyond octave 3 cannot be shown:
// the nearest octave is shown instead and the note kept.
void Form1::DecodeDetuneOctaveAndNote() {
    const int d = ReadToneByte(module1.ScratchRecord, layout::kDetuneOctaveAndNote);
    int octave = d / 12;
    int note = d - 12 * octave;
    if (octave < 0 || octave > 3) {
        octave = std::clamp(octave, 0, 3);
        ReportParseError("Error in Detune Octave Code, Octave = " + std::to_string(octave) +
                         " assumed");
    }
    if (note < 0) {
        note = 0;
        ReportParseError("Error in Detune Note Code, Note = 0 assumed");
    }
    optOCT.Select(octave);
    HSNote.SetValue(note);
    ShowValue(HSNote, lblNote);
    module1.StoredOctave = static_cast<std::int16_t>(octave);
    module1.StoredNote = static_cast<std::int16_t>(HSNote.Value());
}

void Form1::DecodeVibratoValue(ScrollBar& bar, Label& label, int toneByte, const char* field) {
    const int value = ReadToneByte(module1.ScratchRecord, toneByte);
    if (!bar.InRange(value)) {
        const int assumed = std::clamp(value, bar.Min(), bar.Max());
        ReportParseError(std::string("Error in Vibrato ") + field + " Code, " + field + " = " +
                         std::to_string(assumed) + " assumed");
    }
    bar.SetValue(value);
    ShowValue(bar, label);
}

// Only the low entry of a key-follow value byte is read; its code byte is not.
void Form1::DecodeKeyFollowValue(ScrollBar& bar, Label& label, int entry, const char* field) {
    const int value = module1.ScratchRecord[entry];
    if (!bar.InRange(value)) {
        const int assumed = std::clamp(value, bar.Min(), bar.Max());
        ReportParseError(std::string("Error in ") + field +
                         " Key Follow Code, Key Follow = " + std::to_string(assumed) + " assumed");
    }
    bar.SetValue(value);
    ShowValue(bar, label);
}

}  // namespace voxtane::ui
