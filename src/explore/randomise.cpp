// A fresh tone within musical bounds:
// - line select any; octave 0 (70 %), else +1 or -1;
// - detune: either sign, fine 0 to 20 (a slow beat to a light chorus), octave 0 (85 %) or 1,
//   note 0 (half the time) or a third, fourth or fifth (3, 4, 5, 7);
// - vibrato: any wave, delay 0 to 60, rate 20 to 70, depth 0 (half the time) or 1 to 30;
// - waveforms: any of the eight on each line; modulation none (75 %), ring (15 %), noise (10 %);
// - key follow: DCA 0 to 5, DCW 0 to 6;
// - DCA: two to five steps, a quick attack (rate 60 to 99) to a strong level (80 to 99), middle
//   steps at rates 30 to 90 and levels 30 to 99, a sustain step before the last, and a release
//   to nothing at rate 25 to 80;
// - DCW: the same shape with any levels, ending at 0 to 40;
// - DCO: flat (80 %), else a short pitch blip: up by 1 to 12 at rate 80 to 99, back at 50 to 90.
#include <array>

#include "explore/draw_playable.h"
#include "explore/explore_random.h"
#include "explore/operations.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"
#include "tone/waveform_codes.h"

namespace voxtane::explore {

namespace {

struct ShapeBounds {
    int attackRateLow, attackLevelLow, attackLevelHigh;
    int middleLevelLow;
    int releaseRateLow, releaseRateHigh, releaseLevelHigh;
};
constexpr ShapeBounds kAmplitude{60, 80, 99, 30, 25, 80, 0};
constexpr ShapeBounds kWave{40, 0, 99, 0, 20, 80, 40};

void Shape(DecodedEnvelope& envelope, const ShapeBounds& bounds, ExploreRandom& random) {
    const int last = random.Between(1, 4);
    envelope = DecodedEnvelope{};
    envelope.steps[0] = {random.Between(bounds.attackRateLow, 99),
                         random.Between(bounds.attackLevelLow, bounds.attackLevelHigh)};
    for (int i = 1; i < last; ++i)
        envelope.steps[static_cast<std::size_t>(i)] = {random.Between(30, 90),
                                                       random.Between(bounds.middleLevelLow, 99)};
    envelope.steps[static_cast<std::size_t>(last)] = {
        random.Between(bounds.releaseRateLow, bounds.releaseRateHigh),
        random.Between(0, bounds.releaseLevelHigh)};
    envelope.sustainStep = random.Between(0, last - 1);
    envelope.endStep = last;
}

void PitchBlip(DecodedEnvelope& envelope, ExploreRandom& random) {
    envelope = DecodedEnvelope{};
    if (random.Chance(800)) return;
    envelope.steps[0] = {random.Between(80, 99), random.Between(1, 12)};
    envelope.steps[1] = {random.Between(50, 90), 0};
    envelope.sustainStep = 1;
    envelope.endStep = 1;
}

}  // namespace

DecodedTone RandomTone(std::uint64_t seed) {
    constexpr std::array<int, 8> kNotes{0, 0, 0, 0, 3, 4, 5, 7};
    ExploreRandom random(seed);
    DecodedTone tone = DefaultDecodedTone();
    tone.lineSelect = random.Below(4);
    tone.octaveRange = random.Chance(700) ? 0 : random.Between(1, 2);
    tone.detuneSign = random.Below(2);
    tone.detuneFine = random.Between(0, 20);
    tone.detuneOctave = random.Chance(850) ? 0 : 1;
    tone.detuneNote = kNotes[static_cast<std::size_t>(random.Below(8))];
    tone.vibratoWave = random.Below(4);
    tone.vibratoDelay = random.Between(0, 60);
    tone.vibratoRate = random.Between(20, 70);
    tone.vibratoDepth = random.Chance(500) ? 0 : random.Between(1, 30);
    for (DecodedLine& line : tone.lines) {
        line.waveform1 = random.Between(1, kWaveformCount);
        line.waveform2 = random.Between(1, kWaveformCount);
        MakeWaveformsHoldable(line);
        line.dcaKeyFollow = random.Between(0, 5);
        line.dcwKeyFollow = random.Between(0, 6);
    }
    const int modulation = random.Below(100);
    tone.modulation = modulation < 75   ? kModulationNone
                      : modulation < 90 ? kModulationRing
                                        : kModulationNoise;
    for (int line = 1; line <= 2; ++line) {
        Shape(tone.envelopes[EnvelopeOf(EnvelopeKind::DCA, line)], kAmplitude, random);
        Shape(tone.envelopes[EnvelopeOf(EnvelopeKind::DCW, line)], kWave, random);
        PitchBlip(tone.envelopes[EnvelopeOf(EnvelopeKind::DCO, line)], random);
    }
    return tone;
}

Explored Randomise(std::uint64_t seed) {
    return DrawPlayable(
        seed, [](std::uint64_t attemptSeed) { return EncodeWholeTone(RandomTone(attemptSeed)); });
}

}  // namespace voxtane::explore
