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

}  // namespace voxtane
