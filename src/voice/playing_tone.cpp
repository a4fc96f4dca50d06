#include "voice/playing_tone.h"

#include <algorithm>

#include "tone/waveform_codes.h"
#include "voice/approximations.h"

namespace voxtane::voice {

namespace {

// Voices each line select allows: the instrument's eight oscillator pairs, two to a voice for
// the two-line selects.
struct LineSelectRule {
    int lineCount;
    std::array<int, kMaxLines> lines;
    bool detuneSecond;
    int polyphony;
};
constexpr std::array<LineSelectRule, 4> kLineSelects{{
    {1, {0, 0}, false, 8},  // "1"
    {1, {1, 1}, false, 8},  // "2"
    {2, {0, 0}, true, 4},   // "1+1'"
    {2, {0, 1}, true, 4},   // "1+2'"
}};

constexpr std::array<double, 3> kOctaveSemitones{0.0, 12.0, -12.0};  // "0", "+1", "-1"

void Clamp(int& value, int low, int high) {
    value = std::clamp(value, low, high);
}

}  // namespace

DecodedTone ClampTone(const DecodedTone& tone) {
    DecodedTone t = tone;
    Clamp(t.lineSelect, 0, 3);
    Clamp(t.octaveRange, 0, 2);
    Clamp(t.detuneSign, 0, 1);
    Clamp(t.detuneFine, 0, 60);
    Clamp(t.detuneOctave, 0, 3);
    Clamp(t.detuneNote, 0, 11);
    Clamp(t.vibratoWave, 0, 3);
    Clamp(t.vibratoDelay, 0, kTopLevel);
    Clamp(t.vibratoRate, 0, kTopLevel);
    Clamp(t.vibratoDepth, 0, kTopLevel);
    Clamp(t.modulation, kModulationNone, kModulationNoise);
    for (DecodedLine& line : t.lines) {
        Clamp(line.waveform1, 1, kWaveformCount);
        Clamp(line.waveform2, 1, kWaveformCount);
        Clamp(line.dcaKeyFollow, 0, 9);
        Clamp(line.dcwKeyFollow, 0, 9);
    }
    for (DecodedEnvelope& envelope : t.envelopes) {
        for (EnvelopeStep& step : envelope.steps) {
            Clamp(step.rate, 0, kTopLevel);
            Clamp(step.level, 0, kTopLevel);
        }
        Clamp(envelope.sustainStep, 0, kEnvelopeSteps - 1);
        Clamp(envelope.endStep, 0, kEnvelopeSteps - 1);
    }
    return t;
}

PlayingTone PrepareTone(const DecodedTone& tone) {
    PlayingTone p;
    p.tone = ClampTone(tone);
    const LineSelectRule& rule = kLineSelects[p.tone.lineSelect];
    const DecodedTone& t = p.tone;
    const double detune = (t.detuneSign == 0 ? 1.0 : -1.0) * (12.0 * t.detuneOctave + t.detuneNote +
                                                              FineDetuneSemitones(t.detuneFine));
    p.lineCount = rule.lineCount;
    p.polyphony = rule.polyphony;
    for (int i = 0; i < kMaxLines; ++i)
        p.sounding[i] = {rule.lines[i], (rule.detuneSecond && i == 1) ? detune : 0.0};
    p.octaveSemitones = kOctaveSemitones[t.octaveRange];
    p.vibrato = {static_cast<VibratoWave>(t.vibratoWave), VibratoDelaySeconds(t.vibratoDelay),
                 VibratoHz(t.vibratoRate), VibratoPeakSemitones(t.vibratoDepth)};
    for (int e = 0; e < kEnvelopeCount; ++e) {
        p.rules[e].envelope = t.envelopes[e];
        for (int s = 0; s < kEnvelopeSteps; ++s)
            p.rules[e].fullSwingSeconds[s] = FullSwingSeconds(t.envelopes[e].steps[s].rate);
    }
    return p;
}

}  // namespace voxtane::voice
