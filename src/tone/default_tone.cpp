#include "tone/default_tone.h"

#include "tone/encode_tone.h"
#include "tone/waveform_codes.h"

namespace voxtane {
namespace {

// Rises at once (rate 99) to full level, then falls at rate 50 to nothing.
constexpr DecodedEnvelope kRiseAndFall{
    .steps = {{{99, 99}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}}},
    .sustainStep = 0,
    .endStep = 7,
};
// Flat pitch: level 0 at rate 50 throughout.
constexpr DecodedEnvelope kFlat{
    .steps = {{{50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}, {50, 0}}},
    .sustainStep = 0,
    .endStep = 7,
};
constexpr DecodedLine kSawtoothLine{
    .waveform1 = 1, .waveform2 = 1, .dcaKeyFollow = 0, .dcwKeyFollow = 0};

constexpr DecodedTone kDefaultTone{
    .lineSelect = 2,  // 1+1'
    .octaveRange = 0,
    .detuneSign = 0,
    .detuneFine = 0,
    .detuneOctave = 0,
    .detuneNote = 0,
    .vibratoWave = 0,  // triangle
    .vibratoDelay = 0,
    .vibratoRate = 0,
    .vibratoDepth = 0,
    .modulation = kModulationNone,
    .lines = {{kSawtoothLine, kSawtoothLine}},
    // By EnvelopeId: DCA 1, DCW 1, DCO 1, DCA 2, DCW 2, DCO 2.
    .envelopes = {{kRiseAndFall, kRiseAndFall, kFlat, kRiseAndFall, kRiseAndFall, kFlat}},
};

}  // namespace

const ToneRecord& DefaultToneRecord() {
    static const ToneRecord record = EncodeWholeTone(kDefaultTone);
    return record;
}

const DecodedTone& DefaultDecodedTone() {
    return kDefaultTone;
}

}  // namespace voxtane
