#pragma once

#include <QWidget>
#include <array>
#include <map>
#include <optional>

#include "qt/spoken_widget.h"

class QKeyEvent;

namespace voxtane::qt {

// Two octaves of piano keys, played with the mouse (a key sounds while the button is held;
// dragging moves the note to the key under the pointer) and with the computer's keyboard in the
// usual two rows: Z S X D C V G B H N J M , for the lower octave, Q 2 W 3 E R 5 T 6 Y 7 U I for
// the upper one. "-" and "=" shift the keys by an octave. A note held both ways sounds once and
// ends when the last hold ends.
class PianoStrip : public QWidget, public SpokenWidget {
    Q_OBJECT

  public:
    static constexpr int kKeys = 25;  // two octaves and the C above
    static constexpr int kMiddleC = 60;

    explicit PianoStrip(QWidget* parent = nullptr);

    [[nodiscard]] int LowestNote() const { return lowest_; }
    // Moves the keys by whole octaves, within the notes the instrument sounds (C2 to C7); held
    // notes go on to their end.
    void ShiftOctaves(int octaves);
    // The computer keyboard while any widget of the window has the focus: true when the key
    // belongs to the piano (a repeat of a held key is taken and ignored).
    bool PressComputerKey(const QKeyEvent& event);
    bool ReleaseComputerKey(const QKeyEvent& event);
    // Lifts every key, as when the window loses the keyboard.
    void ReleaseAll();
    // Where `note`'s key is drawn; empty when it is not among the keys shown.
    [[nodiscard]] QRectF KeyRect(int note) const;
    // "C4" for 60, the name the owner's manual and most programs use for middle C.
    [[nodiscard]] static QString NoteName(int note);

    [[nodiscard]] QAccessible::Role SpokenRole() const override { return QAccessible::Grouping; }
    [[nodiscard]] QString SpokenValue() const override;
    [[nodiscard]] QSize sizeHint() const override { return {600, 96}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {300, 64}; }

  signals:
    void notePressed(int note);
    void noteReleased(int note);
    void octaveChanged(int lowestNote);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    [[nodiscard]] std::optional<int> NoteAt(QPointF point) const;
    [[nodiscard]] double WhiteKeyWidth() const;
    void Hold(int note);
    void Lift(int note);
    void Describe();

    int lowest_ = kMiddleC - 12;
    std::array<int, 128> holds_{};  // by note: how many keys (mouse and keyboard) hold it
    std::map<int, int> keyNotes_;   // computer key -> the note it pressed
    std::optional<int> mouseNote_;
};

}  // namespace voxtane::qt
