#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "qt/spoken_widget.h"
#include "tone/decoded_tone.h"
#include "voice/graphs.h"

namespace voxtane::qt {

// One of a tone's six envelopes over time, as the voice runs it for middle C: the key held until
// the sustain step is reached, held a little longer, then released. Each step's point can be
// dragged (its place in time sets the step's rate, its height the level) or, with the focus,
// chosen with Left and Right and moved with Up and Down (level), Page Up and Page Down (ten
// levels) and Shift with Left and Right (rate). The graph only asks for the numbers; whoever
// listens writes them into the tone.
class EnvelopeGraph : public QWidget, public SpokenWidget {
    Q_OBJECT

  public:
    explicit EnvelopeGraph(EnvelopeId id, QWidget* parent = nullptr);

    // Draws the envelope of `tone`. While a point is dragged the time axis and the hold stay as
    // they were, so that the point stays under the pointer.
    void ShowTone(const DecodedTone& tone);

    [[nodiscard]] EnvelopeId Envelope() const { return id_; }
    // The step (1 to 8) chosen for the keys; 0 when the envelope shows none.
    [[nodiscard]] int SelectedStep() const { return selected_; }
    // Where the point at which `step` ends is drawn; nothing when no point ends it (steps after
    // the end step play no part).
    [[nodiscard]] std::optional<QPointF> StepPosition(int step) const;
    // The seconds the time axis spans.
    [[nodiscard]] double AxisSeconds() const { return axisSeconds_; }

    [[nodiscard]] QAccessible::Role SpokenRole() const override { return QAccessible::Chart; }
    [[nodiscard]] QString SpokenValue() const override;
    [[nodiscard]] QSize sizeHint() const override { return {300, 170}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {200, 120}; }

  signals:
    // One drag, from press to release: its start, the numbers for every place the point is
    // dragged to, its end.
    void dragStarted(int step);
    void stepDragged(int step, int rate, int level);
    void dragFinished();
    // A key moved the selected step.
    void stepNudged(int step, int rate, int level);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Lay();
    [[nodiscard]] QRectF PlotArea() const;
    [[nodiscard]] QPointF Place(double seconds, double level) const;
    [[nodiscard]] const voice::EnvelopePoint* PointOf(int step) const;
    [[nodiscard]] std::vector<int> Steps() const;  // the points that can be moved, in time order
    [[nodiscard]] std::optional<int> StepNear(QPointF place) const;
    [[nodiscard]] const EnvelopeStep& Numbers(int step) const;
    void Select(int step);
    void DragTo(QPointF place);
    void FinishDrag();
    void Nudge(int rateChange, int levelChange);
    void PaintAxes(QPainter& painter, const QRectF& plot) const;
    void PaintCurve(QPainter& painter, const QRectF& plot) const;
    void PaintPoints(QPainter& painter, const QRectF& plot) const;

    EnvelopeId id_;
    DecodedTone tone_;
    std::vector<voice::EnvelopePoint> points_;
    double holdExtra_ = 0.0;  // seconds the key stays held after the sustain step is reached
    double axisSeconds_ = 1.0;
    double tickSeconds_ = 0.2;
    int selected_ = 0;
    std::optional<int> dragStep_;
    voice::EnvelopePoint dragFrom_;  // the point before the dragged one, fixed while dragging
    double grabX_ = 0.0;             // where the drag took the point, across
    int dragRate_ = 0;               // the step's rate when the drag began
};

}  // namespace voxtane::qt
