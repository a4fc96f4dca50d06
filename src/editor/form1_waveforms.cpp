// The waveform and modulation options of both lines, in both directions.
#include "editor/form1.h"
#include "tone/tone_fields.h"

namespace voxtane::editor {

void Form1::WaveformClick(int line) {
    if (module1.ParsingSysex) return;
    CalcMFW(static_cast<std::int16_t>(line));
}

// The modulation lives in line 1's resonance byte, but both lines are rewritten.
void Form1::optModulation_Click(std::int16_t) {
    if (module1.ParsingSysex) return;
    CalcMFW(1);
    CalcMFW(2);
}

void Form1::CalcMFW(std::int16_t LineVal) {
    const bool line1 = LineVal == 1;
    const OptionArray& first = line1 ? optDCO1Waveform1 : optDCO2Waveform1;
    const OptionArray& second = line1 ? optDCO1Waveform2 : optDCO2Waveform2;
    WriteWaveforms(module1.ScratchRecord, LineVal, first.Selected() + 1, second.Selected() + 1,
                   optModulation.Selected());
}

}  // namespace voxtane::editor
