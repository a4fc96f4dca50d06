#pragma once

#include <optional>

// The waveform byte and resonance byte of a line: first and second waveform, resonance type,
// and (line 1 only) the modulation.
namespace voxtane {

inline constexpr int kWaveformCount = 8;  // waveform numbers 1 to 8 = option elements 0 to 7

enum Modulation { kModulationNone = 0, kModulationRing = 1, kModulationNoise = 2 };

struct WaveBytes {
    int waveform;
    int resonance;
};

// Builds a line's two bytes from waveform numbers 1 to 8 (nothing for "no waveform selected")
// and the modulation index; modulation bits are written on line 1 only.
[[nodiscard]] WaveBytes EncodeWaveBytes(std::optional<int> first, std::optional<int> second,
                                        int modulation, bool line1);

// Waveform numbers read from a line's bytes; nothing where the code matches no waveform.
struct DecodedWaves {
    std::optional<int> first;
    std::optional<int> second;
};
[[nodiscard]] DecodedWaves DecodeWaveBytes(int waveform, int resonance);
// The modulation index held by line 1's resonance byte (noise is tested before ring).
[[nodiscard]] int DecodeModulation(int resonance);

}  // namespace voxtane
