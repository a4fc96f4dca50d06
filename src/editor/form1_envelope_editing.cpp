// The envelope controls: rate and level boxes, sustain and end steps. The encoder keeps the
// record following the boxes: a level also rewrites the rates of its step and of the next (their
// falling flags compare it), and a new sustain step takes the flag off every other step.
#include "editor/form1.h"
#include "tone/envelope_number.h"

namespace voxtane::editor {

void Form1::RateChange(EnvelopeId envelope, int index) {
    EditTone([envelope,
              index](DecodedTone& t) -> int& { return t.envelopes[envelope].steps[index].rate; },
             ReadEnvelopeNumber(envelopes[envelope].rate.Text(index)));
}

void Form1::LevelChange(EnvelopeId envelope, int index) {
    EditTone([envelope,
              index](DecodedTone& t) -> int& { return t.envelopes[envelope].steps[index].level; },
             ReadEnvelopeNumber(envelopes[envelope].level.Text(index)));
}

void Form1::SustainClick(EnvelopeId envelope) {
    EditTone([envelope](DecodedTone& t) -> int& { return t.envelopes[envelope].sustainStep; },
             envelopes[envelope].sustain.Selected());
}

void Form1::EndClick(EnvelopeId envelope, int index) {
    EditTone([envelope](DecodedTone& t) -> int& { return t.envelopes[envelope].endStep; }, index);
}

}  // namespace voxtane::editor
