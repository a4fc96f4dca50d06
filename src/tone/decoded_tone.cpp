#include "tone/decoded_tone.h"

#include <algorithm>

#include "tone/tone_codes.h"
#include "tone/tone_layout.h"
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
    [[nodiscard]] int Byte(int toneByte) const { return ReadToneByte(record_, toneByte); }
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
    tone_.lineSelect = record_[1] & 3;
    int octaveRange = (record_[1] & 12) / 4;
    if (octaveRange > 2) {
        Say(DecodeStep::OctaveRange, 0, "Error in Octave Code, Octave = 0 assumed");
        octaveRange = 0;
    }
    tone_.octaveRange = octaveRange;
    tone_.detuneSign = record_[3] != 0 ? 1 : 0;
    // Fine codes the synth never uses leave the slider where it was.
    if (const auto fine = FineSliderFromByte(Byte(layout::kDetuneFine))) tone_.detuneFine = *fine;

    // Octave and note share one byte (12 x octave + note). A byte beyond octave 3 cannot be
    // shown: the nearest octave is shown instead and the note kept.
    const int d = Byte(layout::kDetuneOctaveAndNote);
    int octave = d / 12;
    int note = d - 12 * octave;
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
    if (const auto wave = VibratoWaveIndexFromCode(Byte(layout::kVibratoWave)))
        tone_.vibratoWave = *wave;
    struct Value {
        int toneByte;
        DecodeStep step;
        const char* name;
        int DecodedTone::*field;
    };
    static constexpr Value kValues[] = {
        {layout::kVibratoDelay, DecodeStep::VibratoDelay, "Delay", &DecodedTone::vibratoDelay},
        {layout::kVibratoRate, DecodeStep::VibratoRate, "Rate", &DecodedTone::vibratoRate},
        {layout::kVibratoDepth, DecodeStep::VibratoDepth, "Depth", &DecodedTone::vibratoDepth},
    };
    for (const Value& value : kValues)
        tone_.*value.field = Limited(Byte(value.toneByte), kMaxVibrato, value.step, 0,
                                     std::string("Vibrato ") + value.name, value.name);
}

// Both lines share the two results: a line 2 code that names no waveform keeps what line 1
// gave, and a line 1 code that names none shows the first waveform.
void Decoder::Waveforms() {
    int wave1 = 0;
    int wave2 = 0;
    for (int line : {1, 2}) {
        const layout::LineBytes& bytes = layout::Line(line);
        const int w = Byte(bytes.waveform);
        const int r = Byte(bytes.resonance);
        if (line == 1) tone_.modulation = DecodeModulation(r);
        const DecodedWaves waves = DecodeWaveBytes(w, r);
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

// Only the low entry of a key-follow value byte is read; its code byte is not.
void Decoder::KeyFollow() {
    for (int item = 0; item < static_cast<int>(kKeyFollowDecodeOrder.size()); ++item) {
        const auto [line, dcw] = kKeyFollowDecodeOrder[item];
        const layout::LineBytes& bytes = layout::Line(line);
        const int value = record_[LowEntryOfToneByte(dcw ? bytes.dcwKeyValue : bytes.dcaKeyValue)];
        const std::string what =
            std::string(dcw ? "DCW " : "DCA ") + std::to_string(line) + " Key Follow";
        DecodedLine& decoded = tone_.lines[line - 1];
        (dcw ? decoded.dcwKeyFollow : decoded.dcaKeyFollow) =
            Limited(value, kMaxKeyFollow, DecodeStep::KeyFollow, item, what, "Key Follow");
    }
}

void Decoder::EndSteps() {
    for (int item = 0; item < kEnvelopeCount; ++item) {
        const EnvelopeSpec& spec = kEnvelopes[kEndStepDecodeOrder[item]];
        int end = record_[spec.EndEntry()];
        if (end < 0 || end > kLastStep) {
            Say(DecodeStep::EndSteps, item,
                "Error in " + std::string(spec.caption) + " End Step Code, End Step = 8 assumed");
            end = kLastStep;
        }
        tone_.envelopes[kEndStepDecodeOrder[item]].endStep = end;
    }
}

// A level byte without the sustain flag never clears a sustain selection: an envelope with no
// flagged step keeps the selection shown before, one with several shows the last flagged step.
void Decoder::Envelopes() {
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const EnvelopeSpec& spec = kEnvelopes[e];
        DecodedEnvelope& envelope = tone_.envelopes[e];
        for (int step = 1; step <= kEnvelopeSteps; ++step) {
            EnvelopeStep& shown = envelope.steps[step - 1];
            shown.rate = DecodeRateByte(spec.kind, ReadEntryPair(record_, spec.RateEntry(step)));
            int level = ReadEntryPair(record_, spec.LevelEntry(step));
            if ((level & kSustainFlag) == kSustainFlag) {
                envelope.sustainStep = step - 1;
                level -= kSustainFlag;
            }
            shown.level = DecodeLevelCode(spec.kind, level);
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
