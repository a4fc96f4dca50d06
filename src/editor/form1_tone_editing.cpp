// Encoding the tone-wide controls (line select, octave range, detune, vibrato) and key follow.
#include <string>

#include "editor/form1.h"
#include "tone/tone_codes.h"
#include "tone/tone_layout.h"

namespace voxtane::editor {
namespace {

void WriteCoefficient(ToneRecord& record, int valueByte, int value, Coefficient coefficient) {
    WriteToneByte(record, valueByte, value);
    WriteToneByte(record, valueByte + 1, coefficient.low);
    WriteToneByte(record, valueByte + 2, coefficient.high);
}

}  // namespace

void Form1::optLS_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredLineSelect = Index;
    WriteToneByte(module1.ScratchRecord, layout::kLineSelectAndOctaveRange,
                  module1.StoredOctaveRange + Index);
}

void Form1::optOCTV_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredOctaveRange = static_cast<std::int16_t>(4 * Index);
    WriteToneByte(module1.ScratchRecord, layout::kLineSelectAndOctaveRange,
                  4 * Index + module1.StoredLineSelect);
}

void Form1::optPDS_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    WriteToneByte(module1.ScratchRecord, layout::kDetuneSign, Index);
}

void Form1::hsFine_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsFine, lblFine);
    WriteToneByte(module1.ScratchRecord, layout::kDetuneFine, FineByteFromSlider(hsFine.Value()));
}

void Form1::optOCT_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredOctave = Index;
    WriteToneByte(module1.ScratchRecord, layout::kDetuneOctaveAndNote,
                  12 * Index + module1.StoredNote);
}

void Form1::HSNote_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(HSNote, lblNote);
    module1.StoredNote = static_cast<std::int16_t>(HSNote.Value());
    WriteToneByte(module1.ScratchRecord, layout::kDetuneOctaveAndNote,
                  12 * module1.StoredOctave + module1.StoredNote);
}

void Form1::optWave_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    WriteToneByte(module1.ScratchRecord, layout::kVibratoWave, kVibratoWaveCodes.at(Index));
}

void Form1::hsDelay_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsDelay, lblDelay);
    const int d = hsDelay.Value();
    WriteCoefficient(module1.ScratchRecord, layout::kVibratoDelay, d, VibratoDelayCoefficient(d));
}

void Form1::hsRate_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsRate, lblRate);
    const int r = hsRate.Value();
    WriteCoefficient(module1.ScratchRecord, layout::kVibratoRate, r, VibratoRateCoefficient(r));
}

void Form1::hsDepth_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsDepth, lblDepth);
    const int p = hsDepth.Value();
    WriteCoefficient(module1.ScratchRecord, layout::kVibratoDepth, p, VibratoDepthCoefficient(p));
}

void Form1::KeyFollowChange(KeyFollow kind, int line) {
    if (module1.ParsingSysex) return;
    const bool dca = kind == KeyFollow::DCA;
    ScrollBar& bar = line == 1 ? (dca ? hsDCA1Key : hsDCW1Key) : (dca ? hsDCA2Key : hsDCW2Key);
    Label& label = line == 1 ? (dca ? lblDCA1Key : lblDCW1Key) : (dca ? lblDCA2Key : lblDCW2Key);
    ShowBarValue(bar, label);
    // The value byte and, after it, the code byte of that value.
    const int value = bar.Value();
    const layout::LineBytes& bytes = layout::Line(line);
    const auto& codes = dca ? kDCAKeyCodes : kDCWKeyCodes;
    WriteToneByte(module1.ScratchRecord, dca ? bytes.dcaKeyValue : bytes.dcwKeyValue, value);
    WriteToneByte(module1.ScratchRecord, dca ? bytes.dcaKeyCode : bytes.dcwKeyCode,
                  codes.at(value));
}

}  // namespace voxtane::editor
