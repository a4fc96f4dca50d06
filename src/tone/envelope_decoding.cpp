// Decoding the envelope bytes into the rate and level boxes and the sustain selection.
#include <string>

#include "ui/form1.h"

namespace voxtane::ui {

void Form1::DecodeRate(EnvelopeKind kind, int lineVal, int step) {
    const EnvelopeId envelope = EnvelopeOf(kind, lineVal);
    const int rateByte = ReadEntryPair(module1.ScratchRecord, kEnvelopes[envelope].RateEntry(step));
    envelopes[envelope].rate.SetText(step - 1, std::to_string(DecodeRateByte(kind, rateByte)));
}

// A level byte without the sustain flag never clears a sustain selection: an envelope with no
// flagged step keeps the selection shown before, one with several shows the last flagged step.
void Form1::DecodeLevel(EnvelopeKind kind, int lineVal, int step) {
    const EnvelopeId envelope = EnvelopeOf(kind, lineVal);
    int v = ReadEntryPair(module1.ScratchRecord, kEnvelopes[envelope].LevelEntry(step));
    if ((v & kSustainFlag) == kSustainFlag) {
        envelopes[envelope].sustain.Select(step - 1);
        v -= kSustainFlag;
    }
    envelopes[envelope].level.SetText(step - 1, std::to_string(DecodeLevelCode(kind, v)));
}

void Form1::DecodeEndStep(EnvelopeId envelope) {
    const EnvelopeSpec& spec = kEnvelopes[envelope];
    int x = module1.ScratchRecord[spec.EndEntry()];
    if (x < 0 || x > 7) {
        ReportParseError("Error in " + std::string(spec.caption) +
                         " End Step Code, End Step = 8 assumed");
        x = 7;
    }
    envelopes[envelope].end.Select(x);
}

}  // namespace voxtane::ui
