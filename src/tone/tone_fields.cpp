#include "tone/tone_fields.h"

#include "tone/tone_codes.h"
#include "tone/tone_layout.h"

namespace voxtane {
namespace {

constexpr int kNotesPerOctave = 12;
constexpr int kOctaveRangeUnit = 4;  // the octave-range code sits above the two line-select bits
constexpr int kLineSelectMask = 3;
constexpr int kOctaveRangeMask = 12;

struct VibratoField {
    int valueByte;
    Coefficient (*coefficient)(int);
};
// By VibratoValue.
constexpr VibratoField kVibratoFields[] = {{layout::kVibratoDelay, VibratoDelayCoefficient},
                                           {layout::kVibratoRate, VibratoRateCoefficient},
                                           {layout::kVibratoDepth, VibratoDepthCoefficient}};
constexpr const VibratoField& Field(VibratoValue which) {
    return kVibratoFields[static_cast<int>(which)];
}

int KeyFollowValueByte(int line, EnvelopeKind kind) {
    const layout::LineBytes& bytes = layout::Line(line);
    return kind == EnvelopeKind::DCA ? bytes.dcaKeyValue : bytes.dcwKeyValue;
}

}  // namespace

LineSelectAndOctaveRange ReadLineSelectAndOctaveRange(const ToneRecord& record) {
    const int low = record[LowEntryOfToneByte(layout::kLineSelectAndOctaveRange)];
    return {low & kLineSelectMask, (low & kOctaveRangeMask) / kOctaveRangeUnit};
}

void WriteLineSelectAndOctaveRange(ToneRecord& record, int lineSelect, int octaveRange) {
    WriteToneByte(record, layout::kLineSelectAndOctaveRange,
                  kOctaveRangeUnit * octaveRange + lineSelect);
}

int ReadDetuneSign(const ToneRecord& record) {
    return record[LowEntryOfToneByte(layout::kDetuneSign)] != 0 ? 1 : 0;
}

void WriteDetuneSign(ToneRecord& record, int sign) {
    WriteToneByte(record, layout::kDetuneSign, sign);
}

std::optional<int> ReadDetuneFine(const ToneRecord& record) {
    return FineSliderFromByte(ReadToneByte(record, layout::kDetuneFine));
}

void WriteDetuneFine(ToneRecord& record, int fine) {
    WriteToneByte(record, layout::kDetuneFine, FineByteFromSlider(fine));
}

DetuneOctaveAndNote ReadDetuneOctaveAndNote(const ToneRecord& record) {
    const int d = ReadToneByte(record, layout::kDetuneOctaveAndNote);
    const int octave = d / kNotesPerOctave;
    return {octave, d - kNotesPerOctave * octave};
}

void WriteDetuneOctaveAndNote(ToneRecord& record, int octave, int note) {
    WriteToneByte(record, layout::kDetuneOctaveAndNote, kNotesPerOctave * octave + note);
}

std::optional<int> ReadVibratoWave(const ToneRecord& record) {
    return VibratoWaveIndexFromCode(ReadToneByte(record, layout::kVibratoWave));
}

void WriteVibratoWave(ToneRecord& record, int wave) {
    WriteToneByte(record, layout::kVibratoWave, kVibratoWaveCodes.at(wave));
}

int ReadVibratoValue(const ToneRecord& record, VibratoValue which) {
    return ReadToneByte(record, Field(which).valueByte);
}

void WriteVibratoValue(ToneRecord& record, VibratoValue which, int value) {
    const VibratoField& field = Field(which);
    const Coefficient coefficient = field.coefficient(value);
    WriteToneByte(record, field.valueByte, value);
    WriteToneByte(record, field.valueByte + 1, coefficient.low);
    WriteToneByte(record, field.valueByte + 2, coefficient.high);
}

WaveBytes ReadWaveBytes(const ToneRecord& record, int line) {
    const layout::LineBytes& bytes = layout::Line(line);
    return {ReadToneByte(record, bytes.waveform), ReadToneByte(record, bytes.resonance)};
}

void WriteWaveforms(ToneRecord& record, int line, int waveform1, int waveform2, int modulation) {
    const WaveBytes waves = EncodeWaveBytes(waveform1, waveform2, modulation, line == 1);
    const layout::LineBytes& bytes = layout::Line(line);
    WriteToneByte(record, bytes.waveform, waves.waveform);
    WriteToneByte(record, bytes.resonance, waves.resonance);
}

int ReadKeyFollow(const ToneRecord& record, int line, EnvelopeKind kind) {
    return record[LowEntryOfToneByte(KeyFollowValueByte(line, kind))];
}

void WriteKeyFollow(ToneRecord& record, int line, EnvelopeKind kind, int value) {
    const int valueByte = KeyFollowValueByte(line, kind);
    const auto& codes = kind == EnvelopeKind::DCA ? kDCAKeyCodes : kDCWKeyCodes;
    WriteToneByte(record, valueByte, value);
    WriteToneByte(record, valueByte + 1, codes.at(value));
}

int ReadEndStep(const ToneRecord& record, EnvelopeId envelope) {
    return record[kEnvelopes[envelope].EndEntry()];
}

void WriteEndStep(ToneRecord& record, EnvelopeId envelope, int endStep) {
    WriteEntryPair(record, kEnvelopes[envelope].EndEntry(), endStep);
}

int ReadRate(const ToneRecord& record, EnvelopeId envelope, int index) {
    const EnvelopeSpec& spec = kEnvelopes[envelope];
    return DecodeRateByte(spec.kind, ReadEntryPair(record, spec.RateEntry(index + 1)));
}

void WriteRate(ToneRecord& record, EnvelopeId envelope, int index, int rate, bool falling) {
    const EnvelopeSpec& spec = kEnvelopes[envelope];
    const int code = EncodeRateCode(spec.kind, rate) + (falling ? kFallingFlag : 0);
    WriteEntryPair(record, spec.RateEntry(index + 1), code);
}

LevelByte ReadLevel(const ToneRecord& record, EnvelopeId envelope, int index) {
    const EnvelopeSpec& spec = kEnvelopes[envelope];
    int code = ReadEntryPair(record, spec.LevelEntry(index + 1));
    const bool sustain = (code & kSustainFlag) == kSustainFlag;
    if (sustain) code -= kSustainFlag;
    return {DecodeLevelCode(spec.kind, code), sustain};
}

void WriteLevel(ToneRecord& record, EnvelopeId envelope, int index, int level, bool sustain) {
    const EnvelopeSpec& spec = kEnvelopes[envelope];
    const int code = EncodeLevelCode(spec.kind, level) + (sustain ? kSustainFlag : 0);
    WriteEntryPair(record, spec.LevelEntry(index + 1), code);
}

}  // namespace voxtane
