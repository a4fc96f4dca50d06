#include "qt/envelope_graph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "qt/envelope_timing.h"
#include "voice/approximations.h"

namespace voxtane::qt {
namespace {

using voice::PointRole;
constexpr double kTop = voice::kTopLevel;
constexpr double kHoldShare = 0.25;  // of the envelope's whole course, for the held sustain
constexpr double kShortestHold = 1e-3;
constexpr double kHeadroom = 1.2;  // room to the right for making a step slower
constexpr double kShortestAxis = 0.01;
constexpr double kGrabRadius = 10.0;  // logical pixels around a point that take it
// Logical pixels a drag may stray sideways without counting: a hand moving a point straight up
// or down is never quite straight.
constexpr double kSidewaysSlack = 4.0;
constexpr double kPointRadius = 3.5;
constexpr int kLargeLevelStep = 10;

bool Movable(const voice::EnvelopePoint& point) {
    return point.step >= 1 && (point.role == PointRole::kStep ||
                               point.role == PointRole::kSustain || point.role == PointRole::kEnd);
}

// A tick step of 1, 2 or 5 times a power of ten that cuts `seconds` into at most five parts.
double TickSeconds(double seconds) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(seconds / 5)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (seconds / (factor * magnitude) <= 5.0) return factor * magnitude;
    return 10.0 * magnitude;
}

QString TimeLabel(double seconds, double axisSeconds) {
    if (seconds == 0.0) return QStringLiteral("0");
    if (axisSeconds < 1.0) return QString::number(seconds * 1000.0, 'g', 3) + QStringLiteral(" ms");
    return QString::number(seconds, 'g', 3) + QStringLiteral(" s");
}

QString KindWord(EnvelopeKind kind) {
    switch (kind) {
        case EnvelopeKind::DCA:
            return QStringLiteral("amplitude");
        case EnvelopeKind::DCW:
            return QStringLiteral("wave");
        case EnvelopeKind::DCO:
            return QStringLiteral("pitch");
    }
    return {};
}

QString Caption(EnvelopeId id) {
    const std::string_view caption = kEnvelopes[id].caption;
    return QString::fromLatin1(caption.data(), qsizetype(caption.size()));
}

QColor Faded(QColor colour, double alpha) {
    colour.setAlphaF(float(alpha));
    return colour;
}

}  // namespace

EnvelopeGraph::EnvelopeGraph(EnvelopeId id, QWidget* parent) : QWidget(parent), id_(id) {
    const QString caption = Caption(id);
    setObjectName(QStringLiteral("graph") + QString(caption).remove(' '));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(caption + QStringLiteral(" envelope graph"));
    const QString description =
        caption + QStringLiteral(" envelope graph of the ") + KindWord(kEnvelopes[id].kind) +
        QStringLiteral(
            " over time for middle C: drag a point, or choose it with Left and Right "
            "and move it with Up and Down, to change its step's rate and level.");
    setAccessibleDescription(description);
    setToolTip(description);
    ShowTone(tone_);
}

void EnvelopeGraph::ShowTone(const DecodedTone& tone) {
    tone_ = tone;
    Lay();
}

// The key is held until the sustain step is reached and a quarter of the envelope's course
// longer, so that the hold shows; then released.
void EnvelopeGraph::Lay() {
    const auto held = voice::EnvelopeBreakpoints(tone_, id_, kGraphNote);
    if (held.back().role == PointRole::kSustain) {
        const double sustainAt = held.back().seconds;
        if (!dragStep_) {
            const auto released = voice::EnvelopeBreakpoints(tone_, id_, kGraphNote, sustainAt);
            holdExtra_ = std::max(kHoldShare * released.back().seconds, kShortestHold);
        }
        points_ = voice::EnvelopeBreakpoints(tone_, id_, kGraphNote, sustainAt + holdExtra_);
    } else {
        points_ = held;
    }
    if (!dragStep_) {
        const double span = std::max(points_.back().seconds * kHeadroom, kShortestAxis);
        tickSeconds_ = TickSeconds(span);
        axisSeconds_ = std::ceil(span / tickSeconds_ - 1e-9) * tickSeconds_;
    }
    const std::vector<int> steps = Steps();
    if (std::find(steps.begin(), steps.end(), selected_) == steps.end())
        selected_ = steps.empty() ? 0 : steps.front();
    update();
    SayValueChanged(*this);
}

std::vector<int> EnvelopeGraph::Steps() const {
    std::vector<int> steps;
    for (const voice::EnvelopePoint& point : points_)
        if (Movable(point)) steps.push_back(point.step);
    return steps;
}

const voice::EnvelopePoint* EnvelopeGraph::PointOf(int step) const {
    const auto found = std::find_if(points_.begin(), points_.end(), [step](const auto& point) {
        return Movable(point) && point.step == step;
    });
    return found == points_.end() ? nullptr : &*found;
}

const EnvelopeStep& EnvelopeGraph::Numbers(int step) const {
    return tone_.envelopes[id_].steps[step - 1];
}

QRectF EnvelopeGraph::PlotArea() const {
    const QFontMetricsF metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("99")) + 10;
    const double top = metrics.height() + 8;
    const double bottom = metrics.height() + 8;
    const double right = metrics.horizontalAdvance(QStringLiteral("000 ms")) / 2 + 2;
    return QRectF(rect()).adjusted(left, top, -right, -bottom);
}

QPointF EnvelopeGraph::Place(double seconds, double level) const {
    const QRectF plot = PlotArea();
    return {plot.left() + seconds / axisSeconds_ * plot.width(),
            plot.bottom() - level / kTop * plot.height()};
}

std::optional<QPointF> EnvelopeGraph::StepPosition(int step) const {
    if (const voice::EnvelopePoint* point = PointOf(step))
        return Place(point->seconds, point->level);
    return std::nullopt;
}

// Of points drawn on one another (steps that move no level) the earliest is taken: dragging it
// reshapes the move that brought the envelope there.
std::optional<int> EnvelopeGraph::StepNear(QPointF place) const {
    std::optional<int> nearest;
    double best = kGrabRadius;
    for (const voice::EnvelopePoint& point : points_) {
        if (!Movable(point)) continue;
        const QPointF offset = Place(point.seconds, point.level) - place;
        const double distance = std::hypot(offset.x(), offset.y());
        if (distance < best || (!nearest && distance <= best)) {
            best = distance;
            nearest = point.step;
        }
    }
    return nearest;
}

QString EnvelopeGraph::SpokenValue() const {
    const voice::EnvelopePoint* point = PointOf(selected_);
    if (point == nullptr) return QStringLiteral("No step");
    const EnvelopeStep& numbers = Numbers(selected_);
    QString text = QStringLiteral("Step %1: rate %2, level %3, reached at %4")
                       .arg(selected_)
                       .arg(numbers.rate)
                       .arg(numbers.level)
                       .arg(TimeLabel(point->seconds, axisSeconds_));
    if (point->role == PointRole::kSustain) text += QStringLiteral(", sustain step");
    if (point->role == PointRole::kEnd) text += QStringLiteral(", end step");
    return text;
}

void EnvelopeGraph::Select(int step) {
    if (step == selected_) return;
    selected_ = step;
    update();
    SayValueChanged(*this);
}

void EnvelopeGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const std::optional<int> step = StepNear(event->position());
    if (!step) return;
    const auto at = std::find_if(points_.begin(), points_.end(), [&](const auto& point) {
        return Movable(point) && point.step == *step;
    });
    dragFrom_ = *(at - 1);  // every movable point has the start or another point before it
    dragStep_ = *step;
    grabX_ = event->position().x();
    dragRate_ = std::clamp(Numbers(*step).rate, 0, int(kTop));
    Select(*step);
    emit dragStarted(*step);
}

void EnvelopeGraph::mouseMoveEvent(QMouseEvent* event) {
    if (dragStep_) return DragTo(event->position());
    if (StepNear(event->position()))
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
}

void EnvelopeGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragStep_) return QWidget::mouseReleaseEvent(event);
    DragTo(event->position());
    FinishDrag();
}

void EnvelopeGraph::hideEvent(QHideEvent* event) {
    FinishDrag();
    QWidget::hideEvent(event);
}

// The level is the height. The rate changes only as far as the pointer moved sideways since it
// took the point: the step takes the time it would take at its rate over the new levels, plus
// that move's time. A drag straight up or down keeps the rate.
void EnvelopeGraph::DragTo(QPointF place) {
    if (!dragStep_) return;
    const QRectF plot = PlotArea();
    const double x = std::clamp(place.x(), plot.left(), plot.right());
    const double y = std::clamp(place.y(), plot.top(), plot.bottom());
    const int level = int(std::lround((plot.bottom() - y) / plot.height() * kTop));
    const double levels = level - dragFrom_.level;
    const double scale = StepTimeScale(tone_, id_, kGraphNote);
    const double moved = x - std::clamp(grabX_, plot.left(), plot.right());
    const double sideways = std::copysign(std::max(std::abs(moved) - kSidewaysSlack, 0.0), moved);
    int rate = dragRate_;
    if (sideways != 0.0) {
        const double seconds =
            SecondsForMove(levels, dragRate_, scale) + sideways / plot.width() * axisSeconds_;
        rate = RateForMove(levels, std::max(seconds, 0.0), scale, dragRate_);
    }
    const EnvelopeStep& now = Numbers(*dragStep_);
    if (rate != now.rate || level != now.level) emit stepDragged(*dragStep_, rate, level);
}

void EnvelopeGraph::FinishDrag() {
    if (!dragStep_) return;
    dragStep_.reset();
    Lay();
    emit dragFinished();
}

void EnvelopeGraph::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void EnvelopeGraph::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void EnvelopeGraph::Nudge(int rateChange, int levelChange) {
    if (selected_ == 0 || dragStep_) return;
    const EnvelopeStep& now = Numbers(selected_);
    const int rate = std::clamp(now.rate + rateChange, 0, int(kTop));
    const int level = std::clamp(now.level + levelChange, 0, int(kTop));
    if (rate != now.rate || level != now.level) emit stepNudged(selected_, rate, level);
}

void EnvelopeGraph::keyPressEvent(QKeyEvent* event) {
    const std::vector<int> steps = Steps();
    const auto at = std::find(steps.begin(), steps.end(), selected_);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Left:
            // Later in time is a slower rate.
            if (shift) return Nudge(+1, 0);
            if (at != steps.end() && at != steps.begin()) Select(*(at - 1));
            return;
        case Qt::Key_Right:
            if (shift) return Nudge(-1, 0);
            if (at != steps.end() && at + 1 != steps.end()) Select(*(at + 1));
            return;
        case Qt::Key_Home:
            if (!steps.empty()) Select(steps.front());
            return;
        case Qt::Key_End:
            if (!steps.empty()) Select(steps.back());
            return;
        case Qt::Key_Up:
            return Nudge(0, +1);
        case Qt::Key_Down:
            return Nudge(0, -1);
        case Qt::Key_PageUp:
            return Nudge(0, +kLargeLevelStep);
        case Qt::Key_PageDown:
            return Nudge(0, -kLargeLevelStep);
        default:
            QWidget::keyPressEvent(event);
    }
}

void EnvelopeGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = PlotArea();
    PaintAxes(painter, plot);
    painter.save();
    painter.setClipRect(
        plot.adjusted(-kPointRadius - 2, -kPointRadius - 2, kPointRadius + 2, kPointRadius + 2));
    PaintCurve(painter, plot);
    PaintPoints(painter, plot);
    painter.restore();
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3.0, 3.0);
    }
}

void EnvelopeGraph::PaintAxes(QPainter& painter, const QRectF& plot) const {
    const QPalette& colours = palette();
    const QFontMetricsF metrics(font());
    const DecodedEnvelope& envelope = tone_.envelopes[id_];
    painter.setPen(colours.color(QPalette::WindowText));
    const QRectF titleLine(plot.left(), 2, plot.width(), metrics.height());
    painter.drawText(titleLine, Qt::AlignLeft | Qt::AlignVCenter,
                     Caption(id_) + QStringLiteral(" ") + KindWord(kEnvelopes[id_].kind));
    const QString marks = envelope.sustainStep < envelope.endStep
                              ? QStringLiteral("sustain %1, end %2")
                                    .arg(envelope.sustainStep + 1)
                                    .arg(envelope.endStep + 1)
                              : QStringLiteral("no sustain, end %1").arg(envelope.endStep + 1);
    painter.drawText(titleLine, Qt::AlignRight | Qt::AlignVCenter, marks);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.color(QPalette::Base));
    painter.drawRect(plot);
    const QPen grid(Faded(colours.color(QPalette::Mid), 0.6), 1.0);
    for (const int level : {0, 50, 99}) {
        const double y = plot.bottom() - level / kTop * plot.height();
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawText(QRectF(0, y - metrics.height() / 2, plot.left() - 5, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(level));
    }
    const int ticks = int(std::lround(axisSeconds_ / tickSeconds_));
    for (int tick = 0; tick <= ticks; ++tick) {
        const double seconds = tick * tickSeconds_;
        const double x = plot.left() + seconds / axisSeconds_ * plot.width();
        painter.setPen(grid);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(colours.color(QPalette::WindowText));
        const QString label = TimeLabel(seconds, axisSeconds_);
        const double width = metrics.horizontalAdvance(label) + 4;
        painter.drawText(QRectF(x - width / 2, plot.bottom() + 3, width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

void EnvelopeGraph::PaintCurve(QPainter& painter, const QRectF& plot) const {
    const QPalette& colours = palette();
    QPainterPath curve;
    curve.moveTo(Place(points_.front().seconds, points_.front().level));
    for (const voice::EnvelopePoint& point : points_)
        curve.lineTo(Place(point.seconds, point.level));
    // After its last point the envelope stays at that level.
    const QPointF last = Place(points_.back().seconds, points_.back().level);
    QPainterPath area = curve;
    area.lineTo(plot.right(), last.y());
    area.lineTo(plot.right(), plot.bottom());
    area.lineTo(plot.left(), plot.bottom());
    area.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Faded(colours.color(QPalette::Highlight), 0.18));
    painter.drawPath(area);

    for (const voice::EnvelopePoint& point : points_) {
        if (point.role != PointRole::kRelease) continue;
        const double x = Place(point.seconds, 0).x();
        painter.setPen(QPen(colours.color(QPalette::PlaceholderText), 1.0, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(colours.color(QPalette::PlaceholderText));
        painter.drawText(QRectF(x + 3, plot.top() + 1, plot.right() - x, plot.height()),
                         Qt::AlignLeft | Qt::AlignTop, QStringLiteral("key up"));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(colours.color(QPalette::Text), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(curve);
    painter.setPen(QPen(colours.color(QPalette::Text), 1.0, Qt::DotLine));
    painter.drawLine(last, QPointF(plot.right(), last.y()));
}

// Every step's number beside its point, with S and E on the sustain and end steps. A number
// that would cover another label is left out; the sustain and end marks never are, as the
// envelope's shape cannot be read without them: one that would cover the other moves aside. The
// selected point is marked while the keys or the mouse work on it, drawn last, on top of any point
// at the same place.
void EnvelopeGraph::PaintPoints(QPainter& painter, const QRectF& plot) const {
    const QPalette& colours = palette();
    const QFontMetricsF metrics(font());
    std::vector<std::pair<QRectF, QString>> marked;
    std::vector<std::pair<QRectF, QString>> plain;
    for (const voice::EnvelopePoint& point : points_) {
        if (!Movable(point)) continue;
        const QPointF at = Place(point.seconds, point.level);
        painter.setPen(QPen(colours.color(QPalette::Text), 1.2));
        painter.setBrush(colours.color(QPalette::Base));
        painter.drawEllipse(at, kPointRadius, kPointRadius);
        QString label = QString::number(point.step);
        if (point.role == PointRole::kSustain) label += QStringLiteral(" S");
        if (point.role == PointRole::kEnd) label += QStringLiteral(" E");
        const double width = metrics.horizontalAdvance(label) + 2;
        // Labels of points on the plot's edges stay inside it, where the clip keeps them whole.
        const double left = std::clamp(at.x() - width / 2, plot.left() + 1,
                                       std::max(plot.left() + 1, plot.right() - width - 1));
        const double top = point.level > kTop / 2 ? at.y() + kPointRadius + 1
                                                  : at.y() - kPointRadius - 1 - metrics.height();
        (point.role == PointRole::kStep ? plain : marked)
            .emplace_back(QRectF(left, top, width, metrics.height()), label);
    }
    painter.setPen(colours.color(QPalette::Text));
    std::vector<QRectF> taken;
    const auto covered = [&taken](const QRectF& box) -> const QRectF* {
        const auto found = std::find_if(taken.begin(), taken.end(), [&box](const QRectF& other) {
            return other.intersects(box);
        });
        return found == taken.end() ? nullptr : &*found;
    };
    for (auto [box, label] : marked) {
        // Only as many labels as there are points: the move to the right ends.
        while (const QRectF* other = covered(box)) box.moveLeft(other->right() + 3);
        painter.drawText(box, Qt::AlignCenter, label);
        taken.push_back(box);
    }
    for (const auto& [box, label] : plain) {
        if (covered(box) != nullptr) continue;
        painter.drawText(box, Qt::AlignCenter, label);
        taken.push_back(box);
    }
    if (!hasFocus() && !dragStep_) return;
    if (const std::optional<QPointF> at = StepPosition(selected_)) {
        const double radius = kPointRadius + 1.5;
        painter.setPen(QPen(colours.color(QPalette::Text), 1.2));
        painter.setBrush(colours.color(QPalette::Highlight));
        painter.drawEllipse(*at, radius, radius);
    }
}

}  // namespace voxtane::qt
