#include "qt/candidate_cell.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "voice/graphs.h"

namespace voxtane::qt {

namespace {

constexpr int kMiddleC = 60;
constexpr double kHoldSeconds = 1.0;  // the key held for the picture, as a short note
constexpr double kLongestSeconds = 4.0;

// The lines a line select sounds: "1", "2", "1+1'", "1+2'".
std::vector<int> SoundingLines(const DecodedTone& tone) {
    if (tone.lineSelect == 0) return {1};
    if (tone.lineSelect == 1) return {2};
    return {1, 2};
}

}  // namespace

CandidateCell::CandidateCell(int index, QWidget* parent)
    : QFrame(parent),
      index_(index),
      play_(new QToolButton(this)),
      pick_(new QCheckBox(QStringLiteral("Pick"), this)) {
    setObjectName(QStringLiteral("cellCandidate%1").arg(index + 1));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    play_->setObjectName(QStringLiteral("btnPlayCandidate%1").arg(index + 1));
    play_->setText(QStringLiteral("Play"));
    play_->setAccessibleName(QStringLiteral("Play candidate %1").arg(index + 1));
    play_->setFocusPolicy(Qt::NoFocus);  // the cell plays it with Space
    pick_->setObjectName(QStringLiteral("chkPickCandidate%1").arg(index + 1));
    pick_->setAccessibleName(QStringLiteral("Pick candidate %1").arg(index + 1));
    pick_->setFocusPolicy(Qt::NoFocus);  // the cell picks it with Enter
    auto* row = new QHBoxLayout;
    row->addWidget(play_);
    row->addStretch();
    row->addWidget(pick_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addStretch();
    column->addLayout(row);
    connect(play_, &QToolButton::clicked, this, [this] { emit auditioned(index_); });
    connect(pick_, &QCheckBox::toggled, this, [this] { Describe(); });
    Describe();
}

void CandidateCell::ShowTone(const DecodedTone& tone) {
    tone_ = tone;
    update();
}

bool CandidateCell::Picked() const {
    return pick_->isChecked();
}

void CandidateCell::SetPicked(bool picked) {
    pick_->setChecked(picked);
}

void CandidateCell::Describe() {
    setAccessibleName(QStringLiteral("Candidate %1%2")
                          .arg(index_ + 1)
                          .arg(Picked() ? QStringLiteral(", picked") : QString()));
    setAccessibleDescription(
        QStringLiteral("Space plays it, Enter picks it, the arrow keys move to another"));
}

void CandidateCell::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRectF plot = QRectF(rect()).adjusted(6, 6, -6, -(play_->height() + 12));
    painter.fillRect(plot, colours.color(QPalette::Base));
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2.0));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    struct Curve {
        std::vector<voice::EnvelopePoint> points;
        QPen pen;
    };
    std::vector<Curve> curves;
    double seconds = 0.5;
    for (int line : SoundingLines(tone_)) {
        for (EnvelopeKind kind : {EnvelopeKind::DCA, EnvelopeKind::DCW}) {
            QPen pen(
                colours.color(kind == EnvelopeKind::DCA ? QPalette::Text : QPalette::Highlight),
                line == 1 ? 1.6 : 1.0, kind == EnvelopeKind::DCA ? Qt::SolidLine : Qt::DashLine);
            curves.push_back(
                {voice::EnvelopeBreakpoints(tone_, EnvelopeOf(kind, line), kMiddleC, kHoldSeconds),
                 pen});
            if (!curves.back().points.empty())
                seconds = std::max(seconds, curves.back().points.back().seconds);
        }
    }
    seconds = std::min(seconds, kLongestSeconds);
    for (const Curve& curve : curves) {
        QPainterPath path;
        for (const voice::EnvelopePoint& point : curve.points) {
            const QPointF place(plot.left() + plot.width() * std::min(point.seconds / seconds, 1.0),
                                plot.bottom() - plot.height() * point.level / 99.0);
            if (path.elementCount() == 0)
                path.moveTo(place);
            else
                path.lineTo(place);
        }
        painter.setPen(curve.pen);
        painter.drawPath(path);
    }
}

void CandidateCell::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            emit auditioned(index_);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SetPicked(!Picked());
            return;
        case Qt::Key_Left:
            emit moveAsked(index_, -1, 0);
            return;
        case Qt::Key_Right:
            emit moveAsked(index_, 1, 0);
            return;
        case Qt::Key_Up:
            emit moveAsked(index_, 0, -1);
            return;
        case Qt::Key_Down:
            emit moveAsked(index_, 0, 1);
            return;
        default:
            QFrame::keyPressEvent(event);
    }
}

void CandidateCell::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    emit auditioned(index_);
    QFrame::mousePressEvent(event);
}

void CandidateCell::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void CandidateCell::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

}  // namespace voxtane::qt
