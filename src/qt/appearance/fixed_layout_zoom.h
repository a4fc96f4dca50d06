#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

namespace voxtane::qt {

// Shows a window whose controls stand at fixed places larger as a whole: every place, size,
// picture and the text grow by the same factor, so the arrangement keeps its proportions. The
// designed places are taken when the zoom is made, at 100%.
class FixedLayoutZoom {
  public:
    // `area` holds the fixed arrangement (its widgets in no layout); `window`'s text is designed
    // at `textPixels` pixels and `windowSize` is the window's designed size.
    FixedLayoutZoom(QWidget& window, QWidget& area, int textPixels, QSize windowSize);

    void Show(int percent);

  private:
    struct Designed {
        QPointer<QWidget> widget;
        QRect geometry;
        QSize iconSize;
    };

    QWidget& window_;
    QWidget& area_;
    int textPixels_;
    QSize windowSize_;
    QSize areaSize_;
    std::vector<Designed> designed_;
    int percent_ = 100;
};

// `rect` at `percent`, its edges rounded so that neighbours that touched still touch.
[[nodiscard]] QRect Zoomed(const QRect& rect, int percent);
// The text size at `percent`: never larger than the places it stands in have grown.
[[nodiscard]] int ZoomedTextPixels(int textPixels, int percent);

}  // namespace voxtane::qt
