#include "editor/tone_display.h"

#include "tone/envelope_number.h"

namespace voxtane::editor {
namespace {

void ShowValue(ScrollBar& bar, Label& label, int value) {
    bar.SetValue(value);
    ShowBarValue(bar, label);
}

struct KeyFollowControls {
    ScrollBar& bar;
    Label& label;
};

KeyFollowControls KeyFollowOf(ToneControls& c, KeyFollowItem item) {
    if (item.line == 1)
        return item.dcw ? KeyFollowControls{c.hsDCW1Key, c.lblDCW1Key}
                        : KeyFollowControls{c.hsDCA1Key, c.lblDCA1Key};
    return item.dcw ? KeyFollowControls{c.hsDCW2Key, c.lblDCW2Key}
                    : KeyFollowControls{c.hsDCA2Key, c.lblDCA2Key};
}

// Hands each message to `say` when its step comes.
class Messages {
  public:
    Messages(const std::vector<DecodingMessage>& messages,
             const std::function<void(const std::string&)>& say)
        : messages_(messages), say_(say) {}
    void Before(DecodeStep step, int item = 0) {
        for (const DecodingMessage& message : messages_)
            if (message.step == step && message.item == item) say_(message.text);
    }

  private:
    const std::vector<DecodingMessage>& messages_;
    const std::function<void(const std::string&)>& say_;
};

}  // namespace

DecodedTone ShownTone(const ToneControls& c) {
    DecodedTone tone;
    tone.lineSelect = c.optLS.Selected();
    tone.octaveRange = c.optOCTV.Selected();
    tone.detuneSign = c.optPDS.Selected();
    tone.detuneFine = c.hsFine.Value();
    tone.detuneOctave = c.optOCT.Selected();
    tone.detuneNote = c.HSNote.Value();
    tone.vibratoWave = c.optWave.Selected();
    tone.vibratoDelay = c.hsDelay.Value();
    tone.vibratoRate = c.hsRate.Value();
    tone.vibratoDepth = c.hsDepth.Value();
    tone.modulation = c.optModulation.Selected();
    tone.lines[0] = {c.optDCO1Waveform1.Selected() + 1, c.optDCO1Waveform2.Selected() + 1,
                     c.hsDCA1Key.Value(), c.hsDCW1Key.Value()};
    tone.lines[1] = {c.optDCO2Waveform1.Selected() + 1, c.optDCO2Waveform2.Selected() + 1,
                     c.hsDCA2Key.Value(), c.hsDCW2Key.Value()};
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const EnvelopeControls& controls = c.envelopes[e];
        DecodedEnvelope& envelope = tone.envelopes[e];
        for (int i = 0; i < kEnvelopeSteps; ++i)
            envelope.steps[i] = {ReadEnvelopeNumber(controls.rate.Text(i)),
                                 ReadEnvelopeNumber(controls.level.Text(i))};
        envelope.sustainStep = controls.sustain.Selected();
        envelope.endStep = controls.end.Selected();
    }
    return tone;
}

void ShowDecodedTone(ToneControls& c, const ToneDecoding& decoding,
                     const std::function<void(const std::string&)>& say) {
    const DecodedTone& tone = decoding.tone;
    Messages messages(decoding.messages, say);

    c.optLS.Select(tone.lineSelect);
    messages.Before(DecodeStep::OctaveRange);
    c.optOCTV.Select(tone.octaveRange);
    c.optPDS.Select(tone.detuneSign);
    ShowValue(c.hsFine, c.lblFine, tone.detuneFine);
    messages.Before(DecodeStep::DetuneOctaveAndNote);
    c.optOCT.Select(tone.detuneOctave);
    ShowValue(c.HSNote, c.lblNote, tone.detuneNote);
    c.optWave.Select(tone.vibratoWave);
    messages.Before(DecodeStep::VibratoDelay);
    ShowValue(c.hsDelay, c.lblDelay, tone.vibratoDelay);
    messages.Before(DecodeStep::VibratoRate);
    ShowValue(c.hsRate, c.lblRate, tone.vibratoRate);
    messages.Before(DecodeStep::VibratoDepth);
    ShowValue(c.hsDepth, c.lblDepth, tone.vibratoDepth);

    c.optModulation.Select(tone.modulation);
    messages.Before(DecodeStep::Line1Waveforms);
    c.optDCO1Waveform1.Select(tone.lines[0].waveform1 - 1);
    c.optDCO1Waveform2.Select(tone.lines[0].waveform2 - 1);
    c.optDCO2Waveform1.Select(tone.lines[1].waveform1 - 1);
    c.optDCO2Waveform2.Select(tone.lines[1].waveform2 - 1);

    for (int item = 0; item < static_cast<int>(kKeyFollowDecodeOrder.size()); ++item) {
        const KeyFollowItem which = kKeyFollowDecodeOrder[item];
        const DecodedLine& line = tone.lines[which.line - 1];
        messages.Before(DecodeStep::KeyFollow, item);
        const KeyFollowControls controls = KeyFollowOf(c, which);
        ShowValue(controls.bar, controls.label, which.dcw ? line.dcwKeyFollow : line.dcaKeyFollow);
    }
    for (int item = 0; item < kEnvelopeCount; ++item) {
        messages.Before(DecodeStep::EndSteps, item);
        const EnvelopeId envelope = kEndStepDecodeOrder[item];
        c.envelopes[envelope].end.Select(tone.envelopes[envelope].endStep);
    }

    // Step by step: the rates of DCA, DCW and DCO (line 1, then line 2), then their levels,
    // each level after its step's sustain selection.
    static constexpr EnvelopeKind kKinds[] = {EnvelopeKind::DCA, EnvelopeKind::DCW,
                                              EnvelopeKind::DCO};
    for (int i = 0; i < kEnvelopeSteps; ++i) {
        for (EnvelopeKind kind : kKinds)
            for (int line : {1, 2}) {
                const EnvelopeId id = EnvelopeOf(kind, line);
                c.envelopes[id].rate.SetText(i, std::to_string(tone.envelopes[id].steps[i].rate));
            }
        for (EnvelopeKind kind : kKinds)
            for (int line : {1, 2}) {
                const EnvelopeId id = EnvelopeOf(kind, line);
                const DecodedEnvelope& envelope = tone.envelopes[id];
                if (envelope.sustainStep == i) c.envelopes[id].sustain.Select(i);
                c.envelopes[id].level.SetText(i, std::to_string(envelope.steps[i].level));
            }
    }
}

}  // namespace voxtane::editor
