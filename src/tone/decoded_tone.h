#pragma once

#include <array>
#include <string>
#include <vector>

#include "tone/envelope_codes.h"
#include "tone/tone_record.h"

// A tone as typed values, every parameter as the editor shows it. Made from a record by
// DecodeTone, which gives the editor's decoding messages with it; the controls, the voice and
// the graphs all read a tone through this.
namespace voxtane {

struct EnvelopeStep {
    int rate = 0;   // 0 to 99 for what the editor writes; odd records show other numbers
    int level = 0;  // likewise
    friend bool operator==(const EnvelopeStep&, const EnvelopeStep&) = default;
};

struct DecodedEnvelope {
    std::array<EnvelopeStep, kEnvelopeSteps> steps{};
    int sustainStep = 0;  // element 0 to 7: step 1 to 8
    int endStep = 7;      // element 0 to 7: step 1 to 8
    friend bool operator==(const DecodedEnvelope&, const DecodedEnvelope&) = default;
};

struct DecodedLine {
    int waveform1 = 1;     // waveform numbers 1 to 8: sawtooth, square, pulse, double sine,
    int waveform2 = 1;     // saw-pulse, resonance I (saw), II (triangle), III (trapezoid)
    int dcaKeyFollow = 0;  // 0 to 9
    int dcwKeyFollow = 0;  // 0 to 9
    friend bool operator==(const DecodedLine&, const DecodedLine&) = default;
};

struct DecodedTone {
    int lineSelect = 2;    // 0 "1", 1 "2", 2 "1+1'", 3 "1+2'"
    int octaveRange = 0;   // 0 "0", 1 "+1", 2 "-1"
    int detuneSign = 0;    // 0 "+", 1 "-"
    int detuneFine = 0;    // 0 to 60
    int detuneOctave = 0;  // 0 to 3
    int detuneNote = 0;    // 0 to 11
    int vibratoWave = 0;   // 0 triangle, 1 rising saw, 2 falling saw, 3 square
    int vibratoDelay = 0;  // 0 to 99
    int vibratoRate = 0;   // 0 to 99
    int vibratoDepth = 0;  // 0 to 99
    int modulation = 0;    // 0 none, 1 ring, 2 noise
    std::array<DecodedLine, 2> lines{};
    // By EnvelopeId: DCA 1, DCW 1, DCO 1, DCA 2, DCW 2, DCO 2.
    std::array<DecodedEnvelope, kEnvelopeCount> envelopes{};

    [[nodiscard]] const DecodedEnvelope& Envelope(EnvelopeKind kind, int line) const {
        return envelopes[EnvelopeOf(kind, line)];
    }
    friend bool operator==(const DecodedTone&, const DecodedTone&) = default;
};

// The steps of a decoding that can find a value the editor cannot show, in decoding order; a
// display that sets its controls step by step shows each message before its step's controls.
enum class DecodeStep {
    OctaveRange,
    DetuneOctaveAndNote,
    VibratoDelay,
    VibratoRate,
    VibratoDepth,
    Line1Waveforms,
    KeyFollow,  // in the order DCW 1, DCA 1, DCW 2, DCA 2 (see kKeyFollowDecodeOrder)
    EndSteps,   // in the order DCO 1, DCW 1, DCA 1, DCO 2, DCW 2, DCA 2 (kEndStepDecodeOrder)
};

struct DecodingMessage {
    DecodeStep step;
    int item = 0;  // which key-follow bar or envelope of its step, by the decoding order
    std::string text;
    friend bool operator==(const DecodingMessage&, const DecodingMessage&) = default;
};

struct ToneDecoding {
    DecodedTone tone;
    // The decoding messages, in the order the editor shows them.
    std::vector<DecodingMessage> messages;
};

// The order in which the key-follow values and the end steps are decoded.
struct KeyFollowItem {
    int line;  // 1 or 2
    bool dcw;  // the DCW value, else the DCA one
};
inline constexpr std::array<KeyFollowItem, 4> kKeyFollowDecodeOrder{
    {{1, true}, {1, false}, {2, true}, {2, false}}};
inline constexpr std::array<EnvelopeId, kEnvelopeCount> kEndStepDecodeOrder{kDCO1, kDCW1, kDCA1,
                                                                            kDCO2, kDCW2, kDCA2};

// Decodes a record as the editor shows it. Where the record holds a value the editor cannot
// show (an unused fine code, an unknown vibrato or waveform code, no sustain flag), the value
// of `shownBefore` stays, as the controls keep what they showed.
[[nodiscard]] ToneDecoding DecodeTone(const ToneRecord& record, const DecodedTone& shownBefore);

}  // namespace voxtane
