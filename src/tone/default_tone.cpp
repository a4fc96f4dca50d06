#include "tone/default_tone.h"

#include <array>

namespace voxtane {
namespace {

constexpr int kStepPairs = 2 * kEnvelopeSteps;

// One envelope's 17 bytes: its end step, then rate and level of steps 1 to 8. Rates of falling
// steps carry the falling flag, the sustain step's level the sustain flag.
constexpr std::array<int, 1 + kStepPairs> Envelope(int firstRate, int firstLevel, int secondRate,
                                                   int rate) {
    std::array<int, 1 + kStepPairs> bytes{7, firstRate, firstLevel, secondRate, 0};
    for (int step = 3; step <= kEnvelopeSteps; ++step) bytes[2 * step - 1] = rate;
    return bytes;
}

ToneRecord MakeDefaultRecord() {
    std::array<int, kToneBytes> bytes{};
    auto put = [&bytes](int firstByte, const auto& values) {
        for (std::size_t i = 0; i < values.size(); ++i) bytes[firstByte - 1 + i] = values[i];
    };
    // Line select and octave range, detune, vibrato wave, delay, rate and depth with their
    // coefficients.
    put(1, std::array{2, 0, 0, 0, 8, 0, 0, 0, 0, 32, 0, 0, 1, 0});
    const auto dca = Envelope(119, 255, 60 + 128, 60);
    const auto dcw = Envelope(127, 255, 68 + 128, 68);
    const auto dco = Envelope(64, 128, 64, 64);
    for (int lineStart : {15, 72}) {
        put(lineStart, std::array{2, 0, 0, 0, 0, 0});  // waveforms, key follow
        put(lineStart + 6, dca);
        put(lineStart + 6 + 17, dcw);
        put(lineStart + 6 + 34, dco);
    }
    ToneRecord record{};
    for (int k = 1; k <= kToneBytes; ++k) WriteToneByte(record, k, bytes[k - 1]);
    return record;
}

}  // namespace

const ToneRecord& DefaultToneRecord() {
    static const ToneRecord record = MakeDefaultRecord();
    return record;
}

const DecodedTone& DefaultDecodedTone() {
    static const DecodedTone tone = DecodeTone(DefaultToneRecord(), DecodedTone{}).tone;
    return tone;
}

}  // namespace voxtane
