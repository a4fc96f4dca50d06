#include "tone/waveform_codes.h"

#include <array>

namespace voxtane {
namespace {

constexpr int kResonanceTypeMask = 192;
constexpr int kRingBits = 32;
constexpr int kNoiseBits = 24;

// Resonance waveforms (numbers 6 to 8) share one code and differ by the resonance type.
std::optional<int> ResonanceWaveform(int resonance) {
    switch (resonance & kResonanceTypeMask) {
        case 64:
            return 6;
        case 128:
            return 7;
        case 192:
            return 8;
        default:
            return std::nullopt;
    }
}

}  // namespace

WaveBytes EncodeWaveBytes(std::optional<int> first, std::optional<int> second, int modulation,
                          bool line1) {
    // First waveform: bits 7-5 of the waveform byte; resonance type starts from it.
    static constexpr std::array<int, 9> kFirstWave{0, 0, 32, 64, 128, 160, 192, 192, 192};
    static constexpr std::array<int, 9> kFirstResonance{0, 0, 0, 0, 0, 0, 64, 128, 192};
    // Second waveform: bits 4-2 plus the "present" bit 1.
    static constexpr std::array<int, 9> kSecondWave{0, 2, 6, 10, 18, 22, 26, 26, 26};
    static constexpr std::array<int, 9> kSecondResonance{0, 0, 0, 0, 0, 0, 64, 128, 192};

    const int p = first.value_or(0);
    const int q = second.value_or(0);
    WaveBytes bytes{kFirstWave[p], kFirstResonance[p]};
    bytes.waveform += kSecondWave[q];
    if (q >= 6) bytes.resonance = kSecondResonance[q];
    if (line1) {
        if (modulation == kModulationRing) bytes.resonance += kRingBits;
        if (modulation == kModulationNoise) bytes.resonance += kNoiseBits;
    }
    return bytes;
}

DecodedWaves DecodeWaveBytes(int w, int r) {
    DecodedWaves waves;
    switch (w & 224) {
        case 0:
            waves.first = 1;
            break;
        case 32:
            waves.first = 2;
            break;
        case 64:
            waves.first = 3;
            break;
        case 128:
            waves.first = 4;
            break;
        case 160:
            waves.first = 5;
            break;
        case 192:
            waves.first = ResonanceWaveform(r);
            break;
        default:
            break;  // codes 3 and 7 name no waveform
    }
    switch (w - (w & 224)) {
        case 6:
            waves.second = 2;
            break;
        case 10:
            waves.second = 3;
            break;
        case 18:
            waves.second = 4;
            break;
        case 22:
            waves.second = 5;
            break;
        case 26:
            waves.second = ResonanceWaveform(r);
            break;
        default:
            waves.second = 1;
            break;
    }
    return waves;
}

int DecodeModulation(int r) {
    if ((r & kNoiseBits) == kNoiseBits) return kModulationNoise;
    if ((r & kRingBits) == kRingBits) return kModulationRing;
    return kModulationNone;
}

}  // namespace voxtane
