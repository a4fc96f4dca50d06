#pragma once

#include <QPainterPath>

#include "qt/option_pictures.h"

// The outlines of the option pictures in their 24 by 22 design box.
namespace voxtane::qt {

struct PicturePaths {
    QPainterPath wave;      // the waveform itself, drawn with the full pen
    QPainterPath envelope;  // the resonance envelope around the strokes, drawn thin; may be empty
};

[[nodiscard]] PicturePaths PathsOf(PictureSet set, int index);

}  // namespace voxtane::qt
