// Encoding the envelope controls: rate and level boxes, sustain and end steps.
#include "editor/form1.h"
#include "tone/envelope_number.h"
#include "tone/tone_fields.h"

namespace voxtane::editor {

void Form1::RateChange(EnvelopeId envelope, int index) {
    if (module1.ParsingSysex) return;
    EncodeRate(envelope, index);
}

// A rate byte's falling flag depends on the level boxes of its step and the step before, so a
// level change also re-encodes the rates of its own step and of the next one: the record then
// always follows what the boxes show.
void Form1::LevelChange(EnvelopeId envelope, int index) {
    if (module1.ParsingSysex) return;
    EncodeLevel(envelope, index, envelopes[envelope].sustain.Value(index));
    EncodeRate(envelope, index);
    if (index + 1 < kEnvelopeSteps) EncodeRate(envelope, index + 1);
}

// Only one step of an envelope may carry the sustain flag: selecting a sustain step takes the
// flag off every other level byte of the envelope at once.
void Form1::SustainClick(EnvelopeId envelope, int index) {
    if (module1.ParsingSysex) return;
    const bool selected = envelopes[envelope].sustain.Value(index);
    EncodeLevel(envelope, index, selected);
    if (!selected) return;
    for (int other = 0; other < kEnvelopeSteps; ++other) {
        if (other == index) continue;
        if (ReadLevel(module1.ScratchRecord, envelope, other).sustain)
            EncodeLevel(envelope, other, false);
    }
}

void Form1::EncodeEndStepIfEditing(std::string_view envName, int line, int index) {
    if (module1.ParsingSysex) return;
    EncodeEndStep(envName, static_cast<std::int16_t>(line), static_cast<std::int16_t>(index));
}

void Form1::EncodeRate(EnvelopeId envelope, int index) {
    const EnvelopeControls& controls = envelopes[envelope];
    // The numbers as read, in or out of range, decide whether the step falls.
    const int level = ReadEnvelopeNumber(controls.level.Text(index));
    const int previous = index > 0 ? ReadEnvelopeNumber(controls.level.Text(index - 1)) : level;
    WriteRate(module1.ScratchRecord, envelope, index, ReadEnvelopeNumber(controls.rate.Text(index)),
              StepFalls(index, level, previous));
}

void Form1::EncodeLevel(EnvelopeId envelope, int index, bool sustain) {
    WriteLevel(module1.ScratchRecord, envelope, index,
               ReadEnvelopeNumber(envelopes[envelope].level.Text(index)), sustain);
}

void Form1::EncodeEndStep(std::string_view EnvName, std::int16_t LineVal, std::int16_t Index) {
    EnvelopeKind kind;
    if (EnvName == "A") {
        kind = EnvelopeKind::DCA;
    } else if (EnvName == "W") {
        kind = EnvelopeKind::DCW;
    } else if (EnvName == "O") {
        kind = EnvelopeKind::DCO;
    } else {
        return;
    }
    WriteEndStep(module1.ScratchRecord, EnvelopeOf(kind, LineVal), Index);
}

}  // namespace voxtane::editor
