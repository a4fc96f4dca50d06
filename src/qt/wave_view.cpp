#include "qt/wave_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "editor/control_words.h"
#include "qt/envelope_timing.h"
#include "voice/graphs.h"

namespace voxtane::qt {
namespace {

constexpr int kPointsPerCycle = 256;

// "sawtooth" from the waveform option's spoken name, "DCO 1 waveform 1: sawtooth".
QString WaveformWord(int line, int slot, int waveform) {
    const std::string control = "optDCO" + std::to_string(line) + "Waveform" + std::to_string(slot);
    const QString name = QString::fromStdString(editor::AccessibleName(control, waveform - 1));
    return name.section(QStringLiteral(": "), 1);
}

// Line select "1" and "1+1'" play line 1 only, "2" line 2 only, "1+2'" both.
bool Sounds(const DecodedTone& tone, int line) {
    switch (tone.lineSelect) {
        case 0:
        case 2:
            return line == 1;
        case 1:
            return line == 2;
        default:
            return true;
    }
}

}  // namespace

WaveView::WaveView(int line, QWidget* parent) : QWidget(parent), line_(line) {
    setObjectName(QStringLiteral("waveLine%1").arg(line));
    setAccessibleName(QStringLiteral("Line %1 waveform").arg(line));
    const QString description =
        QStringLiteral(
            "One cycle of each waveform of line %1 as the voice plays it at the chosen "
            "moment after note-on.")
            .arg(line);
    setAccessibleDescription(description);
    setToolTip(description);
}

void WaveView::ShowTone(const DecodedTone& tone, double seconds) {
    cycles_ = voice::LineCycles(tone, line_, kGraphNote, seconds, kPointsPerCycle);
    const DecodedLine& line = tone.lines[line_ - 1];
    title_ = QStringLiteral("Line %1: %2, then %3")
                 .arg(line_)
                 .arg(WaveformWord(line_, 1, std::clamp(line.waveform1, 1, 8)),
                      WaveformWord(line_, 2, std::clamp(line.waveform2, 1, 8)));
    sounds_ = Sounds(tone, line_);
    if (!sounds_) title_ += QStringLiteral(" (silent with this line select)");
    setAccessibleDescription(title_ +
                             QStringLiteral(", as the voice plays it at the chosen moment."));
    update();
}

void WaveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QFontMetricsF metrics(font());
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(QRectF(4, 2, width() - 8, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     title_);
    const QRectF plot = QRectF(rect()).adjusted(4, metrics.height() + 6, -4, -4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.color(QPalette::Base));
    painter.drawRect(plot);
    painter.setPen(QPen(colours.color(QPalette::Mid), 1.0));
    const double middle = plot.center().y();
    painter.drawLine(QPointF(plot.left(), middle), QPointF(plot.right(), middle));
    painter.setPen(QPen(colours.color(QPalette::Mid), 1.0, Qt::DashLine));
    painter.drawLine(QPointF(plot.center().x(), plot.top()),
                     QPointF(plot.center().x(), plot.bottom()));
    if (cycles_.empty()) return;

    QPainterPath wave;
    const double step = plot.width() / double(cycles_.size());
    const double half = plot.height() / 2 - 3;
    for (std::size_t i = 0; i < cycles_.size(); ++i) {
        const QPointF at(plot.left() + i * step, middle - cycles_[i] * half);
        if (i == 0)
            wave.moveTo(at);
        else
            wave.lineTo(at);
    }
    const QColor ink = colours.color(sounds_ ? QPalette::Text : QPalette::PlaceholderText);
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
}

}  // namespace voxtane::qt
