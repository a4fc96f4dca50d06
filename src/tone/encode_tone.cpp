#include "tone/encode_tone.h"

#include "tone/tone_fields.h"

namespace voxtane {
namespace {

class Encoder {
  public:
    // `shown` null: every part is written.
    Encoder(const DecodedTone& tone, const DecodedTone* shown, ToneRecord& record)
        : tone_(tone), shown_(shown), record_(record) {}

    void ToneWide();
    void Lines();
    void Envelopes();

  private:
    template <class Value>
    [[nodiscard]] bool Changed(Value DecodedTone::*field) const {
        return !shown_ || tone_.*field != shown_->*field;
    }
    [[nodiscard]] bool Changed(int line, int DecodedLine::*field) const {
        return !shown_ || tone_.lines[line - 1].*field != shown_->lines[line - 1].*field;
    }

    const DecodedTone& tone_;
    const DecodedTone* shown_;
    ToneRecord& record_;
};

void Encoder::ToneWide() {
    const DecodedTone& t = tone_;
    if (Changed(&DecodedTone::lineSelect) || Changed(&DecodedTone::octaveRange))
        WriteLineSelectAndOctaveRange(record_, t.lineSelect, t.octaveRange);
    if (Changed(&DecodedTone::detuneSign)) WriteDetuneSign(record_, t.detuneSign);
    if (Changed(&DecodedTone::detuneFine)) WriteDetuneFine(record_, t.detuneFine);
    if (Changed(&DecodedTone::detuneOctave) || Changed(&DecodedTone::detuneNote))
        WriteDetuneOctaveAndNote(record_, t.detuneOctave, t.detuneNote);
    if (Changed(&DecodedTone::vibratoWave)) WriteVibratoWave(record_, t.vibratoWave);
    if (Changed(&DecodedTone::vibratoDelay))
        WriteVibratoValue(record_, VibratoValue::Delay, t.vibratoDelay);
    if (Changed(&DecodedTone::vibratoRate))
        WriteVibratoValue(record_, VibratoValue::Rate, t.vibratoRate);
    if (Changed(&DecodedTone::vibratoDepth))
        WriteVibratoValue(record_, VibratoValue::Depth, t.vibratoDepth);
}

// The modulation lives in line 1's resonance byte, but the editor rewrites both lines with it.
void Encoder::Lines() {
    for (int line : {1, 2}) {
        const DecodedLine& l = tone_.lines[line - 1];
        if (Changed(&DecodedTone::modulation) || Changed(line, &DecodedLine::waveform1) ||
            Changed(line, &DecodedLine::waveform2))
            WriteWaveforms(record_, line, l.waveform1, l.waveform2, tone_.modulation);
        if (Changed(line, &DecodedLine::dcaKeyFollow))
            WriteKeyFollow(record_, line, EnvelopeKind::DCA, l.dcaKeyFollow);
        if (Changed(line, &DecodedLine::dcwKeyFollow))
            WriteKeyFollow(record_, line, EnvelopeKind::DCW, l.dcwKeyFollow);
    }
}

// A new sustain step takes the flag off every other level byte that carries it, so that one step
// of an envelope holds the flag.
void Encoder::Envelopes() {
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const auto id = static_cast<EnvelopeId>(e);
        const DecodedEnvelope& now = tone_.envelopes[e];
        const DecodedEnvelope* was = shown_ ? &shown_->envelopes[e] : nullptr;
        const auto changed = [was, &now](int index, int EnvelopeStep::*field) {
            return !was || now.steps[index].*field != was->steps[index].*field;
        };
        if (!was || now.endStep != was->endStep) WriteEndStep(record_, id, now.endStep);
        const bool sustainMoved = !was || now.sustainStep != was->sustainStep;
        for (int index = 0; index < kEnvelopeSteps; ++index) {
            const int level = now.steps[index].level;
            const bool sustain = index == now.sustainStep;
            if (changed(index, &EnvelopeStep::level) ||
                (sustainMoved && (sustain || ReadLevel(record_, id, index).sustain)))
                WriteLevel(record_, id, index, level, sustain);
            const bool previousChanged = index > 0 && changed(index - 1, &EnvelopeStep::level);
            if (changed(index, &EnvelopeStep::rate) || changed(index, &EnvelopeStep::level) ||
                previousChanged) {
                const int previous = index > 0 ? now.steps[index - 1].level : level;
                WriteRate(record_, id, index, now.steps[index].rate,
                          StepFalls(index, level, previous));
            }
        }
    }
}

ToneRecord Encode(const DecodedTone& tone, const ToneRecord& base, const DecodedTone* shown) {
    ToneRecord record = base;
    Encoder encoder(tone, shown, record);
    encoder.ToneWide();
    encoder.Lines();
    encoder.Envelopes();
    return record;
}

}  // namespace

ToneRecord EncodeTone(const DecodedTone& tone, const ToneRecord& base, const DecodedTone& shown) {
    return Encode(tone, base, &shown);
}

ToneRecord EncodeTone(const DecodedTone& tone, const ToneRecord& base) {
    const DecodedTone shown = DecodeTone(base, tone).tone;
    return Encode(tone, base, &shown);
}

ToneRecord EncodeWholeTone(const DecodedTone& tone, const ToneRecord& base) {
    return Encode(tone, base, nullptr);
}

}  // namespace voxtane
