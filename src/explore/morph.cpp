#include <algorithm>
#include <array>

#include "explore/draw_playable.h"
#include "explore/explore_random.h"
#include "explore/operations.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"

namespace voxtane::explore {

namespace {

// The choices of a tone, in the order of their switching points.
enum Choice {
    kLineSelectChoice,
    kOctaveChoice,
    kDetuneSignChoice,
    kVibratoWaveChoice,
    kModulationChoice,
    kFirstWaveformChoice,                             // line 1 first, line 1 second, ...
    kFirstEnvelopeChoice = kFirstWaveformChoice + 4,  // sustain and end, by EnvelopeId
    kChoiceCount = kFirstEnvelopeChoice + kEnvelopeCount,
};

class Blend {
  public:
    explicit Blend(int at) : at_(at) {}
    // Rounded half away from zero, in integers.
    [[nodiscard]] int Number(int a, int b) const {
        const int scaled = (b - a) * at_;
        const int half = kPermille / 2;
        return a + (scaled >= 0 ? (scaled + half) / kPermille : -((-scaled + half) / kPermille));
    }
    // Choice k switches at (k + 1) / (kChoiceCount + 1) of the way: never at 0, always by 1.
    [[nodiscard]] int Pick(int a, int b, int choice) const {
        return at_ * (kChoiceCount + 1) >= (choice + 1) * kPermille ? b : a;
    }

  private:
    int at_;
};

}  // namespace

Explored Morph(const ToneRecord& a, const ToneRecord& b, int at) {
    if (at <= 0) return {a, CheckPlayable(a)};
    if (at >= kPermille) return {b, CheckPlayable(b)};
    const DecodedTone ta = DecodeTone(a, DefaultDecodedTone()).tone;
    const DecodedTone tb = DecodeTone(b, DefaultDecodedTone()).tone;
    const Blend blend(at);
    DecodedTone t = ta;
    t.lineSelect = blend.Pick(ta.lineSelect, tb.lineSelect, kLineSelectChoice);
    t.octaveRange = blend.Pick(ta.octaveRange, tb.octaveRange, kOctaveChoice);
    t.detuneSign = blend.Pick(ta.detuneSign, tb.detuneSign, kDetuneSignChoice);
    t.detuneFine = blend.Number(ta.detuneFine, tb.detuneFine);
    t.detuneOctave = blend.Number(ta.detuneOctave, tb.detuneOctave);
    t.detuneNote = blend.Number(ta.detuneNote, tb.detuneNote);
    t.vibratoWave = blend.Pick(ta.vibratoWave, tb.vibratoWave, kVibratoWaveChoice);
    t.vibratoDelay = blend.Number(ta.vibratoDelay, tb.vibratoDelay);
    t.vibratoRate = blend.Number(ta.vibratoRate, tb.vibratoRate);
    t.vibratoDepth = blend.Number(ta.vibratoDepth, tb.vibratoDepth);
    t.modulation = blend.Pick(ta.modulation, tb.modulation, kModulationChoice);
    for (std::size_t line = 0; line < t.lines.size(); ++line) {
        const DecodedLine& la = ta.lines[line];
        const DecodedLine& lb = tb.lines[line];
        const int choice = kFirstWaveformChoice + 2 * static_cast<int>(line);
        t.lines[line].waveform1 = blend.Pick(la.waveform1, lb.waveform1, choice);
        t.lines[line].waveform2 = blend.Pick(la.waveform2, lb.waveform2, choice + 1);
        MakeWaveformsHoldable(t.lines[line]);
        t.lines[line].dcaKeyFollow = blend.Number(la.dcaKeyFollow, lb.dcaKeyFollow);
        t.lines[line].dcwKeyFollow = blend.Number(la.dcwKeyFollow, lb.dcwKeyFollow);
    }
    for (int id = 0; id < kEnvelopeCount; ++id) {
        const auto& ea = ta.envelopes[static_cast<std::size_t>(id)];
        const auto& eb = tb.envelopes[static_cast<std::size_t>(id)];
        auto& e = t.envelopes[static_cast<std::size_t>(id)];
        for (std::size_t s = 0; s < e.steps.size(); ++s) {
            e.steps[s].rate = blend.Number(ea.steps[s].rate, eb.steps[s].rate);
            e.steps[s].level = blend.Number(ea.steps[s].level, eb.steps[s].level);
        }
        // Sustain and end switch together, so the pair stays one that a tone held.
        const bool fromB = blend.Pick(0, 1, kFirstEnvelopeChoice + id) == 1;
        e.sustainStep = fromB ? eb.sustainStep : ea.sustainStep;
        e.endStep = fromB ? eb.endStep : ea.endStep;
    }
    Explored result;
    result.tone = EncodeTone(t, at < kPermille / 2 ? a : b);
    result.playability = CheckPlayable(result.tone);
    return result;
}

}  // namespace voxtane::explore
