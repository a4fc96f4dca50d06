#include "qt/appearance/fixed_layout_zoom.h"

#include <QAbstractButton>
#include <QLayout>
#include <QScreen>
#include <cmath>

namespace voxtane::qt {
namespace {

int Scaled(int length, int percent) {
    return int(std::lround(length * percent / 100.0));
}

}  // namespace

QRect Zoomed(const QRect& rect, int percent) {
    const int left = Scaled(rect.x(), percent);
    const int top = Scaled(rect.y(), percent);
    return {left, top, Scaled(rect.x() + rect.width(), percent) - left,
            Scaled(rect.y() + rect.height(), percent) - top};
}

int ZoomedTextPixels(int textPixels, int percent) {
    return textPixels * percent / 100;
}

FixedLayoutZoom::FixedLayoutZoom(QWidget& window, QWidget& area, int textPixels, QSize windowSize)
    : window_(window),
      area_(area),
      textPixels_(textPixels),
      windowSize_(windowSize),
      areaSize_(area.size()) {
    for (QWidget* widget : area.findChildren<QWidget*>()) {
        // Widgets a layout places follow their parent by themselves.
        const QWidget* parent = widget->parentWidget();
        if (widget->isWindow() || (parent != nullptr && parent->layout() != nullptr)) continue;
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        designed_.push_back(
            {widget, widget->geometry(),
             button != nullptr && !button->icon().isNull() ? button->iconSize() : QSize()});
    }
}

void FixedLayoutZoom::Show(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    QFont text = window_.font();
    text.setPixelSize(ZoomedTextPixels(textPixels_, percent));
    window_.setFont(text);
    area_.setFixedSize(Zoomed(QRect(QPoint(), areaSize_), percent).size());
    for (const Designed& designed : designed_) {
        if (!designed.widget) continue;
        designed.widget->setGeometry(Zoomed(designed.geometry, percent));
        if (designed.iconSize.isValid()) {
            auto* button = static_cast<QAbstractButton*>(designed.widget.data());
            button->setIconSize(Zoomed(QRect(QPoint(), designed.iconSize), percent).size());
        }
    }
    if (window_.isMaximized() || window_.isFullScreen()) return;
    QSize size = Zoomed(QRect(QPoint(), windowSize_), percent).size();
    if (const QScreen* screen = window_.screen())
        size = size.boundedTo(screen->availableGeometry().size());
    window_.resize(size);
}

}  // namespace voxtane::qt
