#include <algorithm>
#include <cmath>

#include "explore/draw_playable.h"
#include "explore/explore_random.h"
#include "explore/operations.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"
#include "tone/waveform_codes.h"

namespace voxtane::explore {

namespace {

constexpr int kTop = 99;        // rates, levels, vibrato values
constexpr int kPaceReach = 40;  // the most an envelope's pace moves its rates, at amount 1000
constexpr int kLastStep = kEnvelopeSteps - 1;

// The amount's share of a span, at least 1.
int Reach(int span, int amount) {
    return std::max(1, (span * amount + kPermille - 1) / kPermille);
}

int NonZeroOffset(ExploreRandom& random, int reach) {
    const int offset = random.Between(-reach, reach);
    if (offset != 0) return offset;
    return random.Chance(kPermille / 2) ? 1 : -1;
}

int Nudge(ExploreRandom& random, int value, int low, int high, int amount) {
    if (!random.Chance(amount)) return value;
    const int offset = NonZeroOffset(random, Reach(high - low, amount));
    return std::clamp(std::clamp(value, low, high) + offset, low, high);
}

// A choice among `count` (value 0 to count - 1) switches to another one.
int Switch(ExploreRandom& random, int value, int count, int amount) {
    if (!random.Chance(amount / 2)) return value;
    if (value < 0 || value >= count) return random.Below(count);
    return (value + 1 + random.Below(count - 1)) % count;
}

int SwitchWaveform(ExploreRandom& random, int waveform, int amount) {
    return 1 + Switch(random, waveform - 1, kWaveformCount, amount);
}

// The end moves by one step; the level it ended on moves with it, so that an envelope that fell
// to nothing still does.
void MoveEnd(DecodedEnvelope& envelope, int direction) {
    const int end = envelope.endStep;
    const int moved = std::clamp(end + direction, 0, kLastStep);
    if (moved == end) return;
    auto& steps = envelope.steps;
    const int endLevel = steps[static_cast<std::size_t>(end)].level;
    if (moved > end) {
        const int before = end > 0 ? steps[static_cast<std::size_t>(end - 1)].level : 0;
        steps[static_cast<std::size_t>(moved)] = {steps[static_cast<std::size_t>(end)].rate,
                                                  endLevel};
        steps[static_cast<std::size_t>(end)].level = (before + endLevel) / 2;
    } else {
        steps[static_cast<std::size_t>(moved)].level = endLevel;
    }
    envelope.endStep = moved;
}

void MutateEnvelope(DecodedEnvelope& envelope, int amount, ExploreRandom& random) {
    if (random.Chance(amount)) {
        const int pace = NonZeroOffset(random, Reach(kPaceReach, amount));
        for (EnvelopeStep& step : envelope.steps)
            step.rate = std::clamp(std::clamp(step.rate, 0, kTop) + pace, 0, kTop);
    }
    const int reach = Reach(kTop, amount);
    for (EnvelopeStep& step : envelope.steps) {
        if (!random.Chance(amount)) continue;
        const int rateOffset = random.Between(-reach, reach);
        const int levelOffset = random.Between(-reach, reach);
        step.rate = std::clamp(std::clamp(step.rate, 0, kTop) + rateOffset, 0, kTop);
        step.level = std::clamp(std::clamp(step.level, 0, kTop) + levelOffset, 0, kTop);
    }
    if (random.Chance(amount / 2)) MoveEnd(envelope, random.Chance(kPermille / 2) ? 1 : -1);
    if (random.Chance(amount / 2))
        envelope.sustainStep = std::clamp(
            envelope.sustainStep + (random.Chance(kPermille / 2) ? 1 : -1), 0, kLastStep);
    envelope.sustainStep = std::min(envelope.sustainStep, envelope.endStep);
}

void MutateGroup(DecodedTone& tone, ToneGroup group, int amount, ExploreRandom& random) {
    switch (group) {
        case ToneGroup::Line:
            tone.lineSelect = Switch(random, tone.lineSelect, 4, amount);
            tone.octaveRange = Switch(random, tone.octaveRange, 3, amount);
            return;
        case ToneGroup::Detune:
            tone.detuneSign = Switch(random, tone.detuneSign, 2, amount);
            tone.detuneFine = Nudge(random, tone.detuneFine, 0, 60, amount);
            tone.detuneOctave = Nudge(random, tone.detuneOctave, 0, 3, amount);
            tone.detuneNote = Nudge(random, tone.detuneNote, 0, 11, amount);
            return;
        case ToneGroup::Vibrato:
            tone.vibratoWave = Switch(random, tone.vibratoWave, 4, amount);
            tone.vibratoDelay = Nudge(random, tone.vibratoDelay, 0, kTop, amount);
            tone.vibratoRate = Nudge(random, tone.vibratoRate, 0, kTop, amount);
            tone.vibratoDepth = Nudge(random, tone.vibratoDepth, 0, kTop, amount);
            return;
        case ToneGroup::Waves1:
        case ToneGroup::Waves2: {
            DecodedLine& line = tone.lines[group == ToneGroup::Waves1 ? 0 : 1];
            line.waveform1 = SwitchWaveform(random, line.waveform1, amount);
            line.waveform2 = SwitchWaveform(random, line.waveform2, amount);
            MakeWaveformsHoldable(line);
            if (group == ToneGroup::Waves1)
                tone.modulation = Switch(random, tone.modulation, 3, amount);
            return;
        }
        case ToneGroup::KeyFollow:
            for (DecodedLine& line : tone.lines) {
                line.dcaKeyFollow = Nudge(random, line.dcaKeyFollow, 0, 9, amount);
                line.dcwKeyFollow = Nudge(random, line.dcwKeyFollow, 0, 9, amount);
            }
            return;
        default:
            MutateEnvelope(tone.envelopes[*EnvelopeOfGroup(group)], amount, random);
            return;
    }
}

}  // namespace

int ToPermille(double fraction) {
    if (!(fraction > 0.0)) return 0;
    if (fraction >= 1.0) return kPermille;
    return static_cast<int>(std::lround(fraction * kPermille));
}

void MutateTone(DecodedTone& tone, int amount, std::uint64_t seed, const GroupLocks& locks) {
    amount = std::clamp(amount, 0, kPermille);
    for (int index = 0; index < kToneGroupCount; ++index) {
        const ToneGroup group = ToneGroupAt(index);
        if (locks.Locked(group)) continue;
        ExploreRandom random(DeriveSeed(seed, static_cast<std::uint64_t>(index)));
        MutateGroup(tone, group, amount, random);
    }
}

Explored Mutate(const ToneRecord& source, int amount, std::uint64_t seed, const GroupLocks& locks) {
    if (amount <= 0) return {source, CheckPlayable(source)};
    const DecodedTone start = DecodeTone(source, DefaultDecodedTone()).tone;
    return DrawPlayable(seed, [&](std::uint64_t attemptSeed) {
        DecodedTone tone = start;
        MutateTone(tone, amount, attemptSeed, locks);
        return EncodeTone(tone, source);
    });
}

}  // namespace voxtane::explore
