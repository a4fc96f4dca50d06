// Showing a tone in the controls: the scratch record decoded, or the default tone.
#include "editor/form1.h"
#include "editor/tone_display.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"

namespace voxtane::editor {

void Form1::ParseSysex() {
    ShowTone(DecodeTone(module1.ScratchRecord, ShownTone(*this)));
}

// Every part is written, so the record holds nothing of the tone before. The modulation option
// is left as it is, as it always has been.
void Form1::SetDefaults2() {
    DecodedTone tone = DefaultDecodedTone();
    tone.modulation = optModulation.Selected();
    module1.ScratchRecord = EncodeWholeTone(tone, module1.ScratchRecord);
    ShowTone({tone, {}});
}

// The next edit combines its value with the tone as the controls read it back, which is not
// always the tone decoded: a box reads a number beyond 16 bits as 0.
void Form1::ShowTone(const ToneDecoding& decoding) {
    {
        const QuietToneHandlers quiet(module1);
        ShowDecodedTone(*this, decoding,
                        [this](const std::string& text) { ReportParseError(text); });
        module1.ScratchTone = ShownTone(*this);
    }
    currentToneChanged.Notify();
}

}  // namespace voxtane::editor
