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
// Here rather than in the core's sources, so that the voice, which plays a tone by them, needs
// nothing compiled in the core.
[[nodiscard]] constexpr Coefficient VibratoDelayCoefficient(int d) {
    if (d < 0 || d > 99) return {0, 0};
    if (d <= 31) return {d, 0};
    if (d <= 47) return {2 * d - 31, 0};
    if (d <= 63) return {4 * d - 125, 0};
    if (d <= 79) return {8 * d - 377, 0};
    if (d <= 95) return {16 * (d - 80) + 15, 1};
    return {32 * (d - 96) + 31, 2};
}

[[nodiscard]] constexpr Coefficient VibratoRateCoefficient(int r) {
    if (r < 0 || r > 99) return {0, 0};
    if (r <= 6) return {32 * (r + 1), 0};
    if (r <= 14) return {32 * (r - 7), 1};
    if (r <= 22) return {32 * (r - 15), 2};
    if (r <= 30) return {32 * (r - 23), 3};
    if (r <= 63) return {kVibRateLow[r - 31], kVibRateHigh[r - 31]};
    if (r <= 79) return {224, r - 47};
    if (r <= 95) return {224, 2 * (r - 80) + 35};
    return {224, 4 * (r - 96) + 71};
}

[[nodiscard]] constexpr Coefficient VibratoDepthCoefficient(int p) {
    if (p < 0 || p > 99) return {0, 0};
    if (p <= 31) return {p + 1, 0};
    if (p <= 47) return {2 * (p - 32) + 35, 0};
    if (p <= 63) return {4 * (p - 48) + 71, 0};
    if (p <= 78) return {8 * (p - 64) + 143, 0};
    if (p == 79) return {7, 1};
    if (p <= 94) return {16 * (p - 80) + 31, 1};
    constexpr std::array<Coefficient, 5> kTop{{{15, 2}, {63, 2}, {95, 2}, {127, 2}, {0, 3}}};
    return kTop[p - 95];
}

}  // namespace voxtane
