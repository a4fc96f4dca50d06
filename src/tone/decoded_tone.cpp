#include "tone/decoded_tone.h"

#include <algorithm>

#include "tone/tone_fields.h"
#include "tone/waveform_codes.h"

namespace voxtane {
namespace {

constexpr int kOctaves = 4;   // detune octave 0 to 3
constexpr int kMaxNote = 11;  // detune note 0 to 11
constexpr int kMaxVibrato = 99;
constexpr int kMaxKeyFollow = 9;
constexpr int kLastStep = kEnvelopeSteps - 1;

class Decoder {
  public:
    Decoder(const ToneRecord& record, ToneDecoding& result)
        : record_(record), result_(result), tone_(result.tone) {}

    void LineAndDetune();
    void Vibrato();
    void Waveforms();
    void KeyFollow();
    void EndSteps();
    void Envelopes();

  private:
    void Say(DecodeStep step, int item, std::string text) {
        result_.messages.push_back({step, item, std::move(text)});
    }
    // A value outside a control's range is shown at the nearest end of it, with a message.
    int Limited(int value, int max, DecodeStep step, int item, const std::string& what,
                const std::string& name) {
        const int shown = std::clamp(value, 0, max);
        if (shown != value)
            Say(step, item,
                "Error in " + what + " Code, " + name + " = " + std::to_string(shown) + " assumed");
        return shown;
    }

    const ToneRecord& record_;
    ToneDecoding& result_;
    DecodedTone& tone_;
};

void Decoder::LineAndDetune() {
    const auto [lineSelect, octaveRange] = ReadLineSelectAndOctaveRange(record_);
    tone_.lineSelect = lineSelect;
    tone_.octaveRange = octaveRange;
    if (octaveRange > 2) {
        Say(DecodeStep::OctaveRange, 0, "Error in Octave Code, Octave = 0 assumed");
        tone_.octaveRange = 0;
    }
    tone_.detuneSign = ReadDetuneSign(record_);
    // Fine codes the synth never uses leave the slider where it was.
    if (const auto fine = ReadDetuneFine(record_)) tone_.detuneFine = *fine;

    // Octave and note share one byte (12 x octave + note). A byte beyond octave 3 cannot be
    // shown: the nearest octave is shown instead and the note kept.
    auto [octave, note] = ReadDetuneOctaveAndNote(record_);
    if (octave < 0 || octave >= kOctaves) {
        octave = std::clamp(octave, 0, kOctaves - 1);
        Say(DecodeStep::DetuneOctaveAndNote, 0,
            "Error in Detune Octave Code, Octave = " + std::to_string(octave) + " assumed");
    }
    if (note < 0) {
        note = 0;
        Say(DecodeStep::DetuneOctaveAndNote, 0, "Error in Detune Note Code, Note = 0 assumed");
    }
    tone_.detuneOctave = octave;
    tone_.detuneNote = std::min(note, kMaxNote);
}

void Decoder::Vibrato() {
    if (const auto wave = ReadVibratoWave(record_)) tone_.vibratoWave = *wave;
    struct Value {
        VibratoValue which;
        DecodeStep step;
        const char* name;
        int DecodedTone::*field;
    };
    static constexpr Value kValues[] = {
        {VibratoValue::Delay, DecodeStep::VibratoDelay, "Delay", &DecodedTone::vibratoDelay},
        {VibratoValue::Rate, DecodeStep::VibratoRate, "Rate", &DecodedTone::vibratoRate},
        {VibratoValue::Depth, DecodeStep::VibratoDepth, "Depth", &DecodedTone::vibratoDepth},
    };
    for (const Value& value : kValues)
        tone_.*value.field =
            Limited(ReadVibratoValue(record_, value.which), kMaxVibrato, value.step, 0,
                    std::string("Vibrato ") + value.name, value.name);
}

// Both lines share the two results: a line 2 code that names no waveform keeps what line 1
// gave, and a line 1 code that names none shows the first waveform.
void Decoder::Waveforms() {
    int wave1 = 0;
    int wave2 = 0;
    for (int line : {1, 2}) {
        const WaveBytes bytes = ReadWaveBytes(record_, line);
        if (line == 1) tone_.modulation = DecodeModulation(bytes.resonance);
        const DecodedWaves waves = DecodeWaveBytes(bytes.waveform, bytes.resonance);
        if (waves.first) wave1 = *waves.first;
        if (waves.second) wave2 = *waves.second;
        if (line == 1) {
            for (auto [wave, name] : {std::pair{&wave1, "1"}, std::pair{&wave2, "2"}}) {
                if (*wave < 1 || *wave > kWaveformCount) {
                    Say(DecodeStep::Line1Waveforms, 0,
                        std::string("Error in DCO 1 Waveform ") + name +
                            " Code, Waveform = 1 assumed");
                    *wave = 1;
                }
            }
        }
        tone_.lines[line - 1].waveform1 = wave1;
        tone_.lines[line - 1].waveform2 = wave2;
    }
}

void Decoder::KeyFollow() {
    for (int item = 0; item < static_cast<int>(kKeyFollowDecodeOrder.size()); ++item) {
        const auto [line, dcw] = kKeyFollowDecodeOrder[item];
        const int value = ReadKeyFollow(record_, line, dcw ? EnvelopeKind::DCW : EnvelopeKind::DCA);
        const std::string what =
            std::string(dcw ? "DCW " : "DCA ") + std::to_string(line) + " Key Follow";
        DecodedLine& decoded = tone_.lines[line - 1];
        (dcw ? decoded.dcwKeyFollow : decoded.dcaKeyFollow) =
            Limited(value, kMaxKeyFollow, DecodeStep::KeyFollow, item, what, "Key Follow");
    }
}

void Decoder::EndSteps() {
    for (int item = 0; item < kEnvelopeCount; ++item) {
        const EnvelopeId envelope = kEndStepDecodeOrder[item];
        int end = ReadEndStep(record_, envelope);
        if (end < 0 || end > kLastStep) {
            Say(DecodeStep::EndSteps, item,
                "Error in " + std::string(kEnvelopes[envelope].caption) +
                    " End Step Code, End Step = 8 assumed");
            end = kLastStep;
        }
        tone_.envelopes[envelope].endStep = end;
    }
}

// A level byte without the sustain flag never clears a sustain selection: an envelope with no
// flagged step keeps the selection shown before, one with several shows the last flagged step.
void Decoder::Envelopes() {
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const auto id = static_cast<EnvelopeId>(e);
        DecodedEnvelope& envelope = tone_.envelopes[e];
        for (int index = 0; index < kEnvelopeSteps; ++index) {
            const LevelByte level = ReadLevel(record_, id, index);
            if (level.sustain) envelope.sustainStep = index;
            envelope.steps[index] = {ReadRate(record_, id, index), level.level};
        }
    }
}

}  // namespace

ToneDecoding DecodeTone(const ToneRecord& record, const DecodedTone& shownBefore) {
    ToneDecoding result{shownBefore, {}};
    Decoder decoder(record, result);
    decoder.LineAndDetune();
    decoder.Vibrato();
    decoder.Waveforms();
    decoder.KeyFollow();
    decoder.EndSteps();
    decoder.Envelopes();
    return result;
}

}  // namespace voxtane
