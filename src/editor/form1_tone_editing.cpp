// Every tone control's event: the control's value becomes a field of the current tone, and the
// part of the record that field lives in is encoded anew.
#include <limits>

#include "editor/form1.h"
#include "tone/encode_tone.h"

namespace voxtane::editor {
namespace {

// A value no control shows. An event writes its part even when the value stays (a click on the
// option already selected writes its byte again), so the tone before the edit is given with the
// edited field holding this: the encoder then sees it changed.
constexpr int kUnshown = std::numeric_limits<int>::min();

}  // namespace

void Form1::EditTone(const ToneField& field, int value) {
    DecodedTone& tone = module1.ScratchTone;
    DecodedTone before = tone;
    field(before) = kUnshown;
    field(tone) = value;
    module1.ScratchRecord = EncodeTone(tone, module1.ScratchRecord, before);
}

void Form1::optLS_Click(std::int16_t Index) {
    EditTone([](DecodedTone& t) -> int& { return t.lineSelect; }, Index);
}

void Form1::optOCTV_Click(std::int16_t Index) {
    EditTone([](DecodedTone& t) -> int& { return t.octaveRange; }, Index);
}

void Form1::optPDS_Click(std::int16_t Index) {
    EditTone([](DecodedTone& t) -> int& { return t.detuneSign; }, Index);
}

void Form1::hsFine_Change() {
    ShowBarValue(hsFine, lblFine);
    EditTone([](DecodedTone& t) -> int& { return t.detuneFine; }, hsFine.Value());
}

void Form1::optOCT_Click(std::int16_t Index) {
    EditTone([](DecodedTone& t) -> int& { return t.detuneOctave; }, Index);
}

void Form1::HSNote_Change() {
    ShowBarValue(HSNote, lblNote);
    EditTone([](DecodedTone& t) -> int& { return t.detuneNote; }, HSNote.Value());
}

void Form1::optWave_Click(std::int16_t Index) {
    EditTone([](DecodedTone& t) -> int& { return t.vibratoWave; }, Index);
}

void Form1::hsDelay_Change() {
    ShowBarValue(hsDelay, lblDelay);
    EditTone([](DecodedTone& t) -> int& { return t.vibratoDelay; }, hsDelay.Value());
}

void Form1::hsRate_Change() {
    ShowBarValue(hsRate, lblRate);
    EditTone([](DecodedTone& t) -> int& { return t.vibratoRate; }, hsRate.Value());
}

void Form1::hsDepth_Change() {
    ShowBarValue(hsDepth, lblDepth);
    EditTone([](DecodedTone& t) -> int& { return t.vibratoDepth; }, hsDepth.Value());
}

void Form1::KeyFollowChange(EnvelopeKind kind, int line) {
    const bool dca = kind == EnvelopeKind::DCA;
    ScrollBar& bar = line == 1 ? (dca ? hsDCA1Key : hsDCW1Key) : (dca ? hsDCA2Key : hsDCW2Key);
    Label& label = line == 1 ? (dca ? lblDCA1Key : lblDCW1Key) : (dca ? lblDCA2Key : lblDCW2Key);
    ShowBarValue(bar, label);
    EditTone(
        [dca, line](DecodedTone& t) -> int& {
            DecodedLine& l = t.lines[line - 1];
            return dca ? l.dcaKeyFollow : l.dcwKeyFollow;
        },
        bar.Value());
}

}  // namespace voxtane::editor
