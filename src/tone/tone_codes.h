#pragma once

#include <array>
#include <cstdint>
#include <optional>

// Codings of the tone-wide parameters: detune fine, vibrato coefficients, key-follow codes.
namespace voxtane {

// The fine byte is 4 x a fine code that skips 16, 32 and 48.
[[nodiscard]] int FineByteFromSlider(int fine);
// The slider value for a fine byte, or nothing for the codes the synth never uses (16, 32, 48)
// and codes outside 0 to 63.
[[nodiscard]] std::optional<int> FineSliderFromByte(int fineByte);

// Vibrato wave codes by option index (triangle, rising saw, falling saw, square).
inline constexpr std::array<int, 4> kVibratoWaveCodes{8, 4, 32, 2};
[[nodiscard]] std::optional<int> VibratoWaveIndexFromCode(int code);

// A 16-bit coefficient as its two tone bytes.
struct Coefficient {
    int low;
    int high;
    friend bool operator==(const Coefficient&, const Coefficient&) = default;
};

// The rate coefficients for values 31 to 63 come from these tables (index = value - 31).
inline constexpr std::array<std::int16_t, 33> kVibRateLow{
    0,   96, 160, 224, 32,  96, 160, 224, 32,  96, 160, 224, 32,  96, 160, 224, 32,
    224, 96, 224, 96,  224, 96, 224, 96,  224, 96, 224, 96,  224, 96, 224, 96};
inline constexpr std::array<std::int16_t, 33> kVibRateHigh{
    4, 4, 4, 4,  5,  5,  5,  5,  6,  6,  6,  6,  7,  7,  7,  7, 8,
    8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16};
inline constexpr std::array<std::int16_t, 10> kDCAKeyCodes{0, 8, 17, 26, 36, 47, 58, 69, 82, 95};
inline constexpr std::array<std::int16_t, 10> kDCWKeyCodes{0,  31, 44,  57,  70,
                                                           83, 96, 110, 146, 255};

// Coefficients for slider values 0 to 99; other values have no coefficient and give {0, 0}.
[[nodiscard]] Coefficient VibratoDelayCoefficient(int delay);
[[nodiscard]] Coefficient VibratoRateCoefficient(int rate);
[[nodiscard]] Coefficient VibratoDepthCoefficient(int depth);

}  // namespace voxtane
