#pragma once

#include <QProxyStyle>

namespace voxtane::qt {

// Fusion, drawn a little tighter for a window that shows a whole tone at once: a group box's
// title sits in its frame line rather than above it, which gives the controls inside the room
// they are designed with, and an option's caption stands closer to its round mark. The control
// with the keyboard focus wears a ring, whatever its kind.
class CompactStyle : public QProxyStyle {
  public:
    CompactStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    // The focus frame that follows the keyboard: a ring in the highlight colour.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    // With strong outlines, the edges of buttons, boxes and round marks are drawn in the
    // palette's Mid and a chosen picture wears a ring in the highlight colour.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

    // For a high-contrast palette: Fusion takes its edges from the window colour, which leaves
    // them invisible on black.
    void SetStrongOutlines(bool strong) { strongOutlines_ = strong; }
    // The round marks of options and the boxes of check boxes grow with the zoom of the
    // windows, beside their captions.
    void SetZoom(int percent) { zoomPercent_ = percent; }

  private:
    void OutlineHandle(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                       const QWidget* widget) const;

    bool strongOutlines_ = false;
    int zoomPercent_ = 100;
};

}  // namespace voxtane::qt
