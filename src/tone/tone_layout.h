#pragma once

#include <array>
#include <string_view>

// Where each parameter of a tone lies in its record, by tone byte (entries 2k-1 and 2k).
namespace voxtane::layout {

inline constexpr int kLineSelectAndOctaveRange = 1;
inline constexpr int kDetuneSign = 2;
inline constexpr int kDetuneFine = 3;
inline constexpr int kDetuneOctaveAndNote = 4;
inline constexpr int kVibratoWave = 5;
// Each vibrato parameter is a value byte followed by a 16-bit coefficient (low byte, high byte).
inline constexpr int kVibratoDelay = 6;
inline constexpr int kVibratoRate = 9;
inline constexpr int kVibratoDepth = 12;

// The per-line blocks: both lines have the same order, line 1 from tone byte 15, line 2 from 72.
struct LineBytes {
    int waveform;
    int resonance;
    int dcaKeyValue;
    int dcaKeyCode;
    int dcwKeyValue;
    int dcwKeyCode;
};
inline constexpr LineBytes kLine1{15, 16, 17, 18, 19, 20};
inline constexpr LineBytes kLine2{72, 73, 74, 75, 76, 77};
// Any line value other than 1 selects line 2.
[[nodiscard]] constexpr const LineBytes& Line(int lineVal) {
    return lineVal == 1 ? kLine1 : kLine2;
}

}  // namespace voxtane::layout
