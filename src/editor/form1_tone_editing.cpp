// Encoding the tone-wide controls (line select, octave range, detune, vibrato) and key follow.
#include <string>

#include "editor/form1.h"
#include "tone/tone_fields.h"

namespace voxtane::editor {

void Form1::optLS_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredLineSelect = Index;
    WriteLineSelectAndOctaveRange(module1.ScratchRecord, Index, module1.StoredOctaveRange / 4);
}

void Form1::optOCTV_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredOctaveRange = static_cast<std::int16_t>(4 * Index);
    WriteLineSelectAndOctaveRange(module1.ScratchRecord, module1.StoredLineSelect, Index);
}

void Form1::optPDS_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    WriteDetuneSign(module1.ScratchRecord, Index);
}

void Form1::hsFine_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsFine, lblFine);
    WriteDetuneFine(module1.ScratchRecord, hsFine.Value());
}

void Form1::optOCT_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    module1.StoredOctave = Index;
    WriteDetuneOctaveAndNote(module1.ScratchRecord, Index, module1.StoredNote);
}

void Form1::HSNote_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(HSNote, lblNote);
    module1.StoredNote = static_cast<std::int16_t>(HSNote.Value());
    WriteDetuneOctaveAndNote(module1.ScratchRecord, module1.StoredOctave, module1.StoredNote);
}

void Form1::optWave_Click(std::int16_t Index) {
    if (module1.ParsingSysex) return;
    WriteVibratoWave(module1.ScratchRecord, Index);
}

void Form1::hsDelay_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsDelay, lblDelay);
    WriteVibratoValue(module1.ScratchRecord, VibratoValue::Delay, hsDelay.Value());
}

void Form1::hsRate_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsRate, lblRate);
    WriteVibratoValue(module1.ScratchRecord, VibratoValue::Rate, hsRate.Value());
}

void Form1::hsDepth_Change() {
    if (module1.ParsingSysex) return;
    ShowBarValue(hsDepth, lblDepth);
    WriteVibratoValue(module1.ScratchRecord, VibratoValue::Depth, hsDepth.Value());
}

void Form1::KeyFollowChange(KeyFollow kind, int line) {
    if (module1.ParsingSysex) return;
    const bool dca = kind == KeyFollow::DCA;
    ScrollBar& bar = line == 1 ? (dca ? hsDCA1Key : hsDCW1Key) : (dca ? hsDCA2Key : hsDCW2Key);
    Label& label = line == 1 ? (dca ? lblDCA1Key : lblDCW1Key) : (dca ? lblDCA2Key : lblDCW2Key);
    ShowBarValue(bar, label);
    WriteKeyFollow(module1.ScratchRecord, line, dca ? EnvelopeKind::DCA : EnvelopeKind::DCW,
                   bar.Value());
}

}  // namespace voxtane::editor
