// The built-in default tone, made by driving every control's handler as a user edit would.
#include <string>

#include "editor/form1.h"
#include "tone/default_tone.h"

namespace voxtane::editor {

// The modulation option is left as it is, as it always has been.
void Form1::SetDefaults2() {
    const DecodedTone& tone = DefaultDecodedTone();
    module1.StoredLineSelect = static_cast<std::int16_t>(tone.lineSelect);
    module1.StoredOctaveRange = static_cast<std::int16_t>(4 * tone.octaveRange);
    module1.StoredOctave = static_cast<std::int16_t>(tone.detuneOctave);
    module1.StoredNote = static_cast<std::int16_t>(tone.detuneNote);

    // Each control's handler runs, then the control is set to its default, which runs the
    // handler again whenever the value changes: either way it has run with the default in place.
    const auto option = [](OptionArray& control, int index) {
        control.onClick(static_cast<std::int16_t>(index));
        control.Select(index);
    };
    const auto bar = [](ScrollBar& control, int value) {
        control.onChange();
        control.SetValue(value);
    };
    option(optLS, tone.lineSelect);
    option(optOCTV, tone.octaveRange);
    option(optPDS, tone.detuneSign);
    bar(hsFine, tone.detuneFine);
    bar(HSNote, tone.detuneNote);
    option(optOCT, tone.detuneOctave);
    option(optWave, tone.vibratoWave);
    bar(hsDelay, tone.vibratoDelay);
    bar(hsRate, tone.vibratoRate);
    bar(hsDepth, tone.vibratoDepth);
    const DecodedLine& line1 = tone.lines[0];
    const DecodedLine& line2 = tone.lines[1];
    option(optDCO1Waveform1, line1.waveform1 - 1);
    option(optDCO1Waveform2, line1.waveform2 - 1);
    option(optDCO2Waveform1, line2.waveform1 - 1);
    option(optDCO2Waveform2, line2.waveform2 - 1);
    bar(hsDCA1Key, line1.dcaKeyFollow);
    bar(hsDCW1Key, line1.dcwKeyFollow);
    bar(hsDCA2Key, line2.dcaKeyFollow);
    bar(hsDCW2Key, line2.dcwKeyFollow);
    // Sustain steps, then end steps, in the order DCO, DCW, DCA; then step by step, the six
    // rate boxes and then the six level boxes. Because a level change re-encodes the rates
    // around it, the falling flags end up following the default levels whatever patch was shown
    // before.
    static constexpr EnvelopeId kOrder[] = {kDCO1, kDCO2, kDCW1, kDCW2, kDCA1, kDCA2};
    for (EnvelopeId e : kOrder) option(envelopes[e].sustain, tone.envelopes[e].sustainStep);
    for (EnvelopeId e : kOrder) option(envelopes[e].end, tone.envelopes[e].endStep);
    static constexpr EnvelopeId kStepOrder[] = {kDCO1, kDCW1, kDCA1, kDCO2, kDCW2, kDCA2};
    for (int i = 0; i < kEnvelopeSteps; ++i) {
        for (EnvelopeId e : kStepOrder) {
            TextBoxArray& rate = envelopes[e].rate;
            rate.SetText(i, std::to_string(tone.envelopes[e].steps[i].rate));
            rate.onChange(static_cast<std::int16_t>(i));
        }
        for (EnvelopeId e : kStepOrder) {
            TextBoxArray& level = envelopes[e].level;
            level.SetText(i, std::to_string(tone.envelopes[e].steps[i].level));
            level.onChange(static_cast<std::int16_t>(i));
        }
    }
}

}  // namespace voxtane::editor
