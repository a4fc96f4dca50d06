#pragma once

#include <QIcon>
#include <QSize>

// The pictures of the option elements without a caption, and the program's icon. They are drawn
// as vector paths at the size and density they are shown at, so they stay crisp on any screen.
namespace voxtane::qt {

enum class PictureSet {
    // 0 sawtooth, 1 square, 2 pulse, 3 double sine, 4 saw-pulse, 5 to 7 resonance I to III.
    Waveform,
    // 0 triangle, 1 rising sawtooth, 2 falling sawtooth, 3 square.
    Vibrato,
};

inline constexpr int kWaveformPictures = 8;
inline constexpr int kVibratoPictures = 4;
// The size a picture is designed for, in logical pixels.
inline constexpr QSize kPictureSize{24, 22};

[[nodiscard]] QIcon OptionPicture(PictureSet set, int index);
[[nodiscard]] QIcon ProgramIcon();

}  // namespace voxtane::qt
