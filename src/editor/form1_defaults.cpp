// The built-in default tone, made by driving every control's handler as a user edit would.
#include "editor/form1.h"

namespace voxtane::editor {

void Form1::SetDefaults2() {
    module1.StoredLineSelect = 2;
    module1.StoredOctaveRange = 0;
    module1.StoredOctave = 0;
    module1.StoredNote = 0;

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
    option(optLS, 2);
    option(optOCTV, 0);
    option(optPDS, 0);
    bar(hsFine, 0);
    bar(HSNote, 0);
    option(optOCT, 0);
    option(optWave, 0);
    bar(hsDelay, 0);
    bar(hsRate, 0);
    bar(hsDepth, 0);
    option(optDCO1Waveform1, 0);
    option(optDCO1Waveform2, 0);
    option(optDCO2Waveform1, 0);
    option(optDCO2Waveform2, 0);
    bar(hsDCA1Key, 0);
    bar(hsDCW1Key, 0);
    bar(hsDCA2Key, 0);
    bar(hsDCW2Key, 0);
    for (OptionArray* sustain : {&optDCO1S, &optDCO2S, &optDCW1S, &optDCW2S, &optDCA1S, &optDCA2S})
        option(*sustain, 0);
    for (OptionArray* end : {&optDCO1E, &optDCO2E, &optDCW1E, &optDCW2E, &optDCA1E, &optDCA2E})
        option(*end, 7);

    // Step by step, the six rate boxes and then the six level boxes. Because a level change
    // re-encodes the rates around it, the falling flags end up following the default levels
    // whatever patch was shown before.
    static constexpr EnvelopeId kOrder[] = {kDCO1, kDCW1, kDCA1, kDCO2, kDCW2, kDCA2};
    for (int i = 0; i < kEnvelopeSteps; ++i) {
        for (EnvelopeId e : kOrder) {
            TextBoxArray& rate = envelopes[e].rate;
            rate.SetText(i, DesignRateText(kEnvelopes[e].kind, i));
            rate.onChange(static_cast<std::int16_t>(i));
        }
        for (EnvelopeId e : kOrder) {
            TextBoxArray& level = envelopes[e].level;
            level.SetText(i, DesignLevelText(kEnvelopes[e].kind, i));
            level.onChange(static_cast<std::int16_t>(i));
        }
    }
}

}  // namespace voxtane::editor
