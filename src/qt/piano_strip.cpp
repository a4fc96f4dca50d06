#include "qt/piano_strip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "voice/note_range.h"

namespace voxtane::qt {
namespace {

constexpr int kWhiteKeys = 15;
constexpr double kBlackHeight = 0.6;  // of a white key's
constexpr double kBlackWidth = 0.58;
constexpr double kMargin = 2.0;  // room for the focus mark
// The keys stay within the notes the instrument sounds, C2 to C7: other notes would only sound
// an octave or more away from the key pressed.
constexpr int kLowestC = voice::kLowestSoundingNote;
constexpr int kHighestC = voice::kHighestSoundingNote - (PianoStrip::kKeys - 1);
static_assert(kLowestC % 12 == 0 && kHighestC % 12 == 0, "the keys start on a C");

// The computer keys in the usual two rows and the key each plays from the lowest one; "," and
// Q both play the C of the upper octave, as on most programs.
constexpr std::pair<int, int> kComputerKeys[] = {
    {Qt::Key_Z, 0},  {Qt::Key_S, 1},  {Qt::Key_X, 2},      {Qt::Key_D, 3},  {Qt::Key_C, 4},
    {Qt::Key_V, 5},  {Qt::Key_G, 6},  {Qt::Key_B, 7},      {Qt::Key_H, 8},  {Qt::Key_N, 9},
    {Qt::Key_J, 10}, {Qt::Key_M, 11}, {Qt::Key_Comma, 12}, {Qt::Key_Q, 12}, {Qt::Key_2, 13},
    {Qt::Key_W, 14}, {Qt::Key_3, 15}, {Qt::Key_E, 16},     {Qt::Key_R, 17}, {Qt::Key_5, 18},
    {Qt::Key_T, 19}, {Qt::Key_6, 20}, {Qt::Key_Y, 21},     {Qt::Key_7, 22}, {Qt::Key_U, 23},
    {Qt::Key_I, 24},
};

std::optional<int> KeyOffset(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    for (const auto& [key, offset] : kComputerKeys)
        if (event.key() == key) return offset;
    return std::nullopt;
}

bool IsBlack(int note) {
    const int semitone = note % 12;
    return semitone == 1 || semitone == 3 || semitone == 6 || semitone == 8 || semitone == 10;
}

// White keys before the key's left edge (for a black key: the white key it sits on the right
// edge of, plus one), counted from the lowest C.
double WhiteSlots(int offset) {
    constexpr double kInOctave[12] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
    return 7 * (offset / 12) + kInOctave[offset % 12];
}

}  // namespace

PianoStrip::PianoStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pianoStrip"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Piano keys"));
    Describe();
}

QString PianoStrip::NoteName(int note) {
    static constexpr const char* kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                               "F#", "G",  "G#", "A",  "A#", "B"};
    return QString::fromLatin1(kNames[note % 12]) + QString::number(note / 12 - 1);
}

QString PianoStrip::SpokenValue() const {
    QStringList held;
    for (int note = 0; note < int(holds_.size()); ++note)
        if (holds_[note] > 0) held << NoteName(note);
    const QString range =
        NoteName(lowest_) + QStringLiteral(" to ") + NoteName(lowest_ + kKeys - 1);
    return held.isEmpty() ? range : range + QStringLiteral(", playing ") + held.join(' ');
}

void PianoStrip::Describe() {
    const QString text =
        QStringLiteral(
            "Piano keys from %1 to %2, middle C is C4: play them with the mouse or "
            "with the computer keys Z to M and Q to I, and shift them an octave with "
            "- and =.")
            .arg(NoteName(lowest_), NoteName(lowest_ + kKeys - 1));
    setAccessibleDescription(text);
    setToolTip(text);
}

void PianoStrip::ShiftOctaves(int octaves) {
    const int lowest = std::clamp(lowest_ + 12 * octaves, kLowestC, kHighestC);
    if (lowest == lowest_) return;
    lowest_ = lowest;
    Describe();
    update();
    SayValueChanged(*this);
    emit octaveChanged(lowest_);
}

void PianoStrip::Hold(int note) {
    if (note < 0 || note >= int(holds_.size())) return;
    if (holds_[note]++ == 0) {
        emit notePressed(note);
        update();
        SayValueChanged(*this);
    }
}

void PianoStrip::Lift(int note) {
    if (note < 0 || note >= int(holds_.size()) || holds_[note] == 0) return;
    if (--holds_[note] == 0) {
        emit noteReleased(note);
        update();
        SayValueChanged(*this);
    }
}

void PianoStrip::ReleaseAll() {
    keyNotes_.clear();
    mouseNote_.reset();
    for (int note = 0; note < int(holds_.size()); ++note) {
        if (holds_[note] == 0) continue;
        holds_[note] = 1;
        Lift(note);
    }
}

bool PianoStrip::PressComputerKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Minus || event.key() == Qt::Key_Equal ||
        event.key() == Qt::Key_Plus) {
        if (!event.isAutoRepeat()) ShiftOctaves(event.key() == Qt::Key_Minus ? -1 : 1);
        return true;
    }
    const std::optional<int> offset = KeyOffset(event);
    if (!offset) return false;
    // A key held down repeats; the note it started goes on.
    if (event.isAutoRepeat() || keyNotes_.contains(event.key())) return true;
    const int note = lowest_ + *offset;
    keyNotes_[event.key()] = note;
    Hold(note);
    return true;
}

bool PianoStrip::ReleaseComputerKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Minus || event.key() == Qt::Key_Equal || event.key() == Qt::Key_Plus)
        return true;
    if (!KeyOffset(event)) return false;
    if (event.isAutoRepeat()) return true;
    // The note the key pressed, also when the octave changed since.
    if (const auto held = keyNotes_.find(event.key()); held != keyNotes_.end()) {
        const int note = held->second;
        keyNotes_.erase(held);
        Lift(note);
    }
    return true;
}

void PianoStrip::keyPressEvent(QKeyEvent* event) {
    if (!PressComputerKey(*event)) QWidget::keyPressEvent(event);
}

void PianoStrip::keyReleaseEvent(QKeyEvent* event) {
    if (!ReleaseComputerKey(*event)) QWidget::keyReleaseEvent(event);
}

double PianoStrip::WhiteKeyWidth() const {
    return (width() - 2 * kMargin) / kWhiteKeys;
}

QRectF PianoStrip::KeyRect(int note) const {
    const int offset = note - lowest_;
    if (offset < 0 || offset >= kKeys) return {};
    const double white = WhiteKeyWidth();
    const double height = this->height() - 2 * kMargin;
    if (!IsBlack(note)) return {kMargin + WhiteSlots(offset) * white, kMargin, white, height};
    const double width = kBlackWidth * white;
    return {kMargin + WhiteSlots(offset) * white - width / 2, kMargin, width,
            kBlackHeight * height};
}

std::optional<int> PianoStrip::NoteAt(QPointF point) const {
    // Black keys lie on top of the white ones.
    for (int black = 0; black < 2; ++black) {
        for (int note = lowest_; note < lowest_ + kKeys; ++note)
            if (IsBlack(note) == (black == 0) && KeyRect(note).contains(point)) return note;
    }
    return std::nullopt;
}

void PianoStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    mouseNote_ = NoteAt(event->position());
    if (mouseNote_) Hold(*mouseNote_);
}

void PianoStrip::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const std::optional<int> note = NoteAt(event->position());
    if (note == mouseNote_) return;
    if (mouseNote_) Lift(*mouseNote_);
    mouseNote_ = note;
    if (mouseNote_) Hold(*mouseNote_);
}

void PianoStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    if (mouseNote_) Lift(*mouseNote_);
    mouseNote_.reset();
}

// Light and Shadow stand apart in light and dark colour schemes alike; a held key takes the
// selection colour.
void PianoStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    QFont labelFont = font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 0.8);
    painter.setFont(labelFont);
    for (int black = 0; black < 2; ++black) {
        for (int note = lowest_; note < lowest_ + kKeys; ++note) {
            if (IsBlack(note) != (black == 1)) continue;
            const QRectF key = KeyRect(note);
            const bool held = holds_[note] > 0;
            const QColor face = held    ? colours.color(QPalette::Highlight)
                                : black ? colours.color(QPalette::Shadow)
                                        : colours.color(QPalette::Light);
            painter.setPen(QPen(colours.color(QPalette::Mid), 1.0));
            painter.setBrush(face);
            painter.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
            if (note % 12 == 0) {
                painter.setPen(colours.color(held ? QPalette::HighlightedText : QPalette::Shadow));
                painter.drawText(key.adjusted(0, 0, 0, -3), Qt::AlignHCenter | Qt::AlignBottom,
                                 NoteName(note));
            }
        }
    }
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3.0, 3.0);
    }
}

}  // namespace voxtane::qt
