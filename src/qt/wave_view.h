#pragma once

#include <QWidget>
#include <vector>

#include "tone/decoded_tone.h"

namespace voxtane::qt {

// What one line of a tone plays at a moment after note-on, key held: a cycle of its waveform 1
// then one of its waveform 2, at the DCW envelope's level then, drawn from the same code that
// makes the sound.
class WaveView : public QWidget {
    Q_OBJECT

  public:
    WaveView(int line, QWidget* parent = nullptr);

    void ShowTone(const DecodedTone& tone, double seconds);
    [[nodiscard]] int Line() const { return line_; }
    // The samples drawn: two cycles, one after the other.
    [[nodiscard]] const std::vector<float>& Cycles() const { return cycles_; }

    [[nodiscard]] QSize sizeHint() const override { return {300, 110}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {160, 80}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int line_;
    QString title_;
    bool sounds_ = true;
    std::vector<float> cycles_;
};

}  // namespace voxtane::qt
