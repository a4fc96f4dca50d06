#include "qt/compact_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>

namespace voxtane::qt {
namespace {

constexpr int kTitleIndent = 6;
constexpr int kTitlePadding = 2;
constexpr int kOptionCaptionSpacing = 3;
constexpr int kFocusRingWidth = 2;

}  // namespace

CompactStyle::CompactStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int CompactStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    if (metric == PM_RadioButtonLabelSpacing) return kOptionCaptionSpacing;
    if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin) return kFocusRingWidth;
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            return base * zoomPercent_ / 100;
        default:
            return base;
    }
}

QRect CompactStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl subControl, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    const int titleHeight = box->text.isEmpty() ? 0 : box->fontMetrics.height();
    switch (subControl) {
        case SC_GroupBoxLabel: {
            const int width = box->fontMetrics.horizontalAdvance(box->text) + 2 * kTitlePadding;
            return {box->rect.x() + kTitleIndent, box->rect.y(), width, titleHeight};
        }
        case SC_GroupBoxFrame:
            return box->rect.adjusted(0, titleHeight / 2, 0, 0);
        case SC_GroupBoxContents:
            return box->rect.adjusted(2, titleHeight + 2, -2, -2);
        default:
            return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void CompactStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                      QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr || (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (strongOutlines_) OutlineHandle(control, option, painter, widget);
        return;
    }
    const QRect title = subControlRect(control, box, SC_GroupBoxLabel, widget);
    const QRect frame = subControlRect(control, box, SC_GroupBoxFrame, widget);
    // Fusion's own group frame keeps a title's height free above it, so the frame is drawn here,
    // in Fusion's colours, with the title cut out of its top line.
    const QColor window = box->palette.color(QPalette::Window);
    painter->save();
    if (!box->text.isEmpty()) painter->setClipRegion(QRegion(box->rect) - QRegion(title));
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(
        QPen(strongOutlines_ ? box->palette.color(QPalette::Mid) : window.darker(140), 1));
    painter->setBrush(window.darker(103));
    painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter->restore();
    if (!box->text.isEmpty()) {
        proxy()->drawItemText(painter, title, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                              box->state & State_Enabled, box->text, QPalette::WindowText);
    }
}

// A scroll bar's or a slider's handle shows the value; Fusion shades it from the button colour,
// which on a black window leaves it unseen.
void CompactStyle::OutlineHandle(ComplexControl control, const QStyleOptionComplex* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (control != CC_ScrollBar && control != CC_Slider) return;
    const QRect handle = subControlRect(
        control, option, control == CC_ScrollBar ? SC_ScrollBarSlider : SC_SliderHandle, widget);
    if (handle.isEmpty()) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(option->palette.color(QPalette::Mid), 1));
    painter->drawRoundedRect(QRectF(handle).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter->restore();
}

void CompactStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element != CE_FocusFrame) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), kFocusRingWidth));
    painter->setBrush(Qt::NoBrush);
    const qreal inset = kFocusRingWidth / 2.0;
    painter->drawRoundedRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset), 3, 3);
    painter->restore();
}

void CompactStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (!strongOutlines_) return;
    const bool chosenPicture = element == PE_PanelButtonTool && (option->state & State_On);
    const bool edged = element == PE_PanelButtonCommand || element == PE_PanelButtonTool ||
                       element == PE_FrameLineEdit || element == PE_IndicatorCheckBox;
    const bool round = element == PE_IndicatorRadioButton;
    if (!chosenPicture && !edged && !round) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    const int width = chosenPicture ? kFocusRingWidth : 1;
    painter->setPen(
        QPen(option->palette.color(chosenPicture ? QPalette::Highlight : QPalette::Mid), width));
    const qreal inset = width / 2.0;
    const QRectF edge = QRectF(option->rect).adjusted(inset, inset, -inset, -inset);
    if (round)
        painter->drawEllipse(edge);
    else
        painter->drawRoundedRect(edge, 2, 2);
    painter->restore();
}

}  // namespace voxtane::qt
