// Decoding the scratch record into the tone controls.
#include "editor/form1.h"
#include "editor/tone_display.h"
#include "tone/decoded_tone.h"
#include "tone/tone_layout.h"
#include "tone/waveform_codes.h"

namespace voxtane::editor {
namespace {

// Holds the decoding guard for one run of ParseSysex, also when a step throws.
class ParsingGuard {
  public:
    explicit ParsingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~ParsingGuard() { flag_ = false; }
    ParsingGuard(const ParsingGuard&) = delete;
    ParsingGuard& operator=(const ParsingGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

// The record is decoded as a whole, then shown; the encoders' remembered values follow what is
// shown, so that the next edit combines its value with the decoded ones.
void Form1::ParseSysex() {
    {
        ParsingGuard guard(module1.ParsingSysex);
        ShowRecord();
    }
    currentToneChanged.Notify();
}

void Form1::ShowRecord() {
    const ToneDecoding decoding = DecodeTone(module1.ScratchRecord, ShownTone(*this));
    ShowDecodedTone(*this, decoding, [this](const std::string& text) { ReportParseError(text); });
    const DecodedTone& tone = decoding.tone;
    module1.StoredLineSelect = static_cast<std::int16_t>(tone.lineSelect);
    module1.StoredOctaveRange = static_cast<std::int16_t>(4 * tone.octaveRange);
    module1.StoredOctave = static_cast<std::int16_t>(tone.detuneOctave);
    module1.StoredNote = static_cast<std::int16_t>(HSNote.Value());
}

// Outputs whose code names no waveform keep the value the caller passed in.
void Form1::DecodeDCOWave(std::int16_t LineVal, std::int16_t& DCOWave1, std::int16_t& DCOWave2) {
    const layout::LineBytes& line = layout::Line(LineVal);
    const int w = ReadToneByte(module1.ScratchRecord, line.waveform);
    const int r = ReadToneByte(module1.ScratchRecord, line.resonance);
    if (LineVal == 1) optModulation.Select(DecodeModulation(r));
    const DecodedWaves waves = DecodeWaveBytes(w, r);
    if (waves.first) DCOWave1 = static_cast<std::int16_t>(*waves.first);
    if (waves.second) DCOWave2 = static_cast<std::int16_t>(*waves.second);
}

}  // namespace voxtane::editor
