#pragma once

#include <QRect>

// The window is designed in twips, 1/1440 inch, which are 15 to a pixel at 96 dots per inch.
// Placing widgets in logical pixels keeps the arrangement and its proportions; Qt's own scaling
// of logical pixels then fits it to screens of higher density.
namespace voxtane::qt {

inline constexpr int kTwipsPerPixel = 15;

[[nodiscard]] constexpr int Px(int twips) {
    return twips / kTwipsPerPixel;
}

[[nodiscard]] inline QRect TwipRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

}  // namespace voxtane::qt
