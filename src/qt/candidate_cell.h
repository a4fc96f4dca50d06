#pragma once

#include <QFrame>

#include "tone/decoded_tone.h"

class QCheckBox;
class QToolButton;

namespace voxtane::qt {

// One candidate of the Explore window: a small picture of its amplitude (solid) and wave
// (dashed) envelopes of the lines that sound, a play button and a mark to pick it. With the
// focus, Space plays it, Enter picks it and the arrow keys move to the neighbouring cells.
class CandidateCell : public QFrame {
    Q_OBJECT

  public:
    CandidateCell(int index, QWidget* parent);

    void ShowTone(const DecodedTone& tone);
    [[nodiscard]] bool Picked() const;
    void SetPicked(bool picked);
    [[nodiscard]] int Index() const { return index_; }
    [[nodiscard]] QSize sizeHint() const override { return {150, 110}; }

  signals:
    void auditioned(int index);
    void moveAsked(int index, int columns, int rows);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void Describe();

    int index_;
    DecodedTone tone_;
    QToolButton* play_;
    QCheckBox* pick_;
};

}  // namespace voxtane::qt
