#include "tone/tone_codes.h"

namespace voxtane {

int FineByteFromSlider(int fine) {
    if (fine <= 15) return 4 * fine;
    if (fine <= 30) return 4 * (fine + 1);
    if (fine <= 45) return 4 * (fine + 2);
    return 4 * (fine + 3);
}

std::optional<int> FineSliderFromByte(int fineByte) {
    const int v = fineByte / 4;
    if (v >= 0 && v <= 15) return v;
    if (v >= 17 && v <= 31) return v - 1;
    if (v >= 33 && v <= 47) return v - 2;
    if (v >= 49 && v <= 63) return v - 3;
    return std::nullopt;
}

std::optional<int> VibratoWaveIndexFromCode(int code) {
    for (int i = 0; i < static_cast<int>(kVibratoWaveCodes.size()); ++i)
        if (kVibratoWaveCodes[i] == code) return i;
    return std::nullopt;
}

Coefficient VibratoDelayCoefficient(int d) {
    if (d < 0 || d > 99) return {0, 0};
    if (d <= 31) return {d, 0};
    if (d <= 47) return {2 * d - 31, 0};
    if (d <= 63) return {4 * d - 125, 0};
    if (d <= 79) return {8 * d - 377, 0};
    if (d <= 95) return {16 * (d - 80) + 15, 1};
    return {32 * (d - 96) + 31, 2};
}

Coefficient VibratoRateCoefficient(int r) {
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

Coefficient VibratoDepthCoefficient(int p) {
    if (p < 0 || p > 99) return {0, 0};
    if (p <= 31) return {p + 1, 0};
    if (p <= 47) return {2 * (p - 32) + 35, 0};
    if (p <= 63) return {4 * (p - 48) + 71, 0};
    if (p <= 78) return {8 * (p - 64) + 143, 0};
    if (p == 79) return {7, 1};
    if (p <= 94) return {16 * (p - 80) + 31, 1};
    static constexpr std::array<Coefficient, 5> kTop{{{15, 2}, {63, 2}, {95, 2}, {127, 2}, {0, 3}}};
    return kTop[p - 95];
}

}  // namespace voxtane
