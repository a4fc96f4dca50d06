// The waveform and modulation options of both lines.
#include "editor/form1.h"

namespace voxtane::editor {

void Form1::WaveformClick(const OptionArray& waveform, int line, int which) {
    EditTone(
        [line, which](DecodedTone& t) -> int& {
            DecodedLine& l = t.lines[line - 1];
            return which == 1 ? l.waveform1 : l.waveform2;
        },
        waveform.Selected() + 1);
}

// The modulation lives in line 1's resonance byte, but both lines are rewritten.
void Form1::optModulation_Click(std::int16_t) {
    EditTone([](DecodedTone& t) -> int& { return t.modulation; }, optModulation.Selected());
}

}  // namespace voxtane::editor
