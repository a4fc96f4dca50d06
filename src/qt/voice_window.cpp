#include "qt/voice_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>
#include <string>

#include "qt/envelope_edits.h"
#include "tone/default_tone.h"

namespace voxtane::qt {
namespace {

// The waveform views' moment: 0 to 5 seconds after note-on, in hundredths.
constexpr int kMomentSteps = 500;
constexpr double kMomentStepSeconds = 0.01;
constexpr int kFirstMoment = 10;
constexpr const char* kGeometrySetting = "voice/geometry";
constexpr const char* kLowestNoteSetting = "voice/lowestNote";

// The saved lowest key as a number of octaves from the first one; 0 for nothing usable.
int SavedOctaves(const editor::SettingsStore& settings, int lowest) {
    const std::string saved = settings.Read(kLowestNoteSetting).value_or("");
    int note = 0;
    const auto [end, error] = std::from_chars(saved.data(), saved.data() + saved.size(), note);
    if (error != std::errc() || end != saved.data() + saved.size() || note % 12 != 0) return 0;
    return (note - lowest) / 12;
}

void Explain(QWidget& widget, const QString& name, const QString& description) {
    widget.setAccessibleName(name);
    widget.setAccessibleDescription(description);
    widget.setToolTip(description);
}

QToolButton* OctaveButton(QWidget& parent, const char* name, const QString& caption,
                          const QString& spoken, const QString& description) {
    auto* button = new QToolButton(&parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    Explain(*button, spoken, description);
    return button;
}

}  // namespace

VoiceWindow::VoiceWindow(editor::EditorRun& run, voice::AudioOutput* output, QWidget* parent)
    : QWidget(parent, Qt::Window), run_(run), output_(new OutputBand(output, run.settings, this)) {
    setObjectName(QStringLiteral("VoiceWindow"));
    setWindowTitle(QStringLiteral("Voice"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(output_);
    column->addWidget(MakePianoRow());
    column->addWidget(MakeGraphs(), 1);
    column->addWidget(MakeWaves());
    SetTabOrder();
    const auto geometry = run_.settings.Read(kGeometrySetting);
    if (!geometry || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry))))
        resize(980, 760);

    connect(output_, &OutputBand::voiceStarted, this, [this] {
        if (voice::LiveVoice* voice = output_->Voice()) voice->Publish(tone_);
    });
    const QPointer<VoiceWindow> guard(this);
    run_.form1.currentToneChanged.Add([guard] {
        if (guard) guard->FollowTone();
    });
    run_.compare.changed.Add([guard] {
        if (guard) guard->FollowCompare();
    });
    FollowCompare();
}

QWidget* VoiceWindow::MakePianoRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    piano_ = new PianoStrip(row);
    piano_->ShiftOctaves(SavedOctaves(run_.settings, piano_->LowestNote()));
    connect(piano_, &PianoStrip::octaveChanged, this, [this](int lowest) {
        run_.settings.Write(kLowestNoteSetting, std::to_string(lowest));
    });
    auto* down = OctaveButton(*row, "cmdOctaveDown", QStringLiteral("Octave\n-"),
                              QStringLiteral("Octave down"),
                              QStringLiteral("Moves the piano keys an octave down; the - key does "
                                             "the same."));
    auto* up =
        OctaveButton(*row, "cmdOctaveUp", QStringLiteral("Octave\n+"), QStringLiteral("Octave up"),
                     QStringLiteral("Moves the piano keys an octave up; the = key does the "
                                    "same."));
    connect(down, &QToolButton::clicked, piano_, [this] { piano_->ShiftOctaves(-1); });
    connect(up, &QToolButton::clicked, piano_, [this] { piano_->ShiftOctaves(+1); });
    layout->addWidget(down);
    layout->addWidget(piano_, 1);
    layout->addWidget(up);
    octaveDown_ = down;
    octaveUp_ = up;

    connect(piano_, &PianoStrip::notePressed, this, [this](int note) {
        if (voice::LiveVoice* voice = output_->Voice()) voice->Press(note);
    });
    connect(piano_, &PianoStrip::noteReleased, this, [this](int note) {
        if (voice::LiveVoice* voice = output_->Voice()) voice->Release(note);
    });
    return row;
}

// Line 1's envelopes above line 2's, each line's in the order DCA, DCW, DCO, as the record
// holds them.
QWidget* VoiceWindow::MakeGraphs() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* edits = new EnvelopeEdits(run_.form1, this);
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const auto id = static_cast<EnvelopeId>(e);
        graphs_[e] = new EnvelopeGraph(id, area);
        grid->addWidget(graphs_[e], e / 3, e % 3);
        edits->Watch(*graphs_[e]);
    }
    return area;
}

QWidget* VoiceWindow::MakeWaves() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("&Waveforms at:"), area);
    moment_ = new QSlider(Qt::Horizontal, area);
    moment_->setObjectName(QStringLiteral("sliderMoment"));
    moment_->setRange(0, kMomentSteps);
    moment_->setSingleStep(1);
    moment_->setPageStep(10);
    moment_->setValue(kFirstMoment);
    Explain(*moment_, QStringLiteral("Moment of the waveforms"),
            QStringLiteral("How long after note-on, key held, the waveform views show the "
                           "lines: 0 to 5 seconds."));
    caption->setBuddy(moment_);
    momentLabel_ = new QLabel(area);
    momentLabel_->setObjectName(QStringLiteral("lblMoment"));
    momentLabel_->setMinimumWidth(
        momentLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0.00 s after note-on ")));
    connect(moment_, &QSlider::valueChanged, this, &VoiceWindow::ShowWaves);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(moment_, 0, 1, 1, 2);
    grid->addWidget(momentLabel_, 0, 3);
    for (int line = 1; line <= 2; ++line) {
        waves_[line - 1] = new WaveView(line, area);
        grid->addWidget(waves_[line - 1], 1, line == 1 ? 0 : 2, 1, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return area;
}

void VoiceWindow::SetTabOrder() {
    QList<QWidget*> order;
    order << output_->PlaySwitch() << output_->DeviceList() << octaveDown_ << piano_ << octaveUp_;
    for (EnvelopeGraph* graph : graphs_) order << graph;
    order << moment_;
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

// The voice gets every change at once, also while a note sounds; the pictures only while they
// are seen.
void VoiceWindow::FollowTone() {
    if (!isVisible()) return;
    tone_ = DecodeTone(run_.module1.ScratchRecord, DefaultDecodedTone()).tone;
    if (voice::LiveVoice* voice = output_->Voice()) voice->Publish(tone_);
    for (EnvelopeGraph* graph : graphs_) graph->ShowTone(tone_);
    ShowWaves();
}

void VoiceWindow::ShowWaves() {
    const double seconds = moment_->value() * kMomentStepSeconds;
    momentLabel_->setText(QStringLiteral("%1 s after note-on").arg(seconds, 0, 'f', 2));
    for (WaveView* wave : waves_) wave->ShowTone(tone_, seconds);
}

// While Compare shows the reference, the tone cannot be edited, from here neither.
void VoiceWindow::FollowCompare() {
    for (EnvelopeGraph* graph : graphs_) graph->setEnabled(!run_.compare.Comparing());
}

VoiceWindow::~VoiceWindow() {
    if (isVisible()) RememberGeometry();
}

void VoiceWindow::RememberGeometry() {
    run_.settings.Write(kGeometrySetting, saveGeometry().toBase64().toStdString());
}

void VoiceWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FollowTone();
    output_->SetShown(true);
}

void VoiceWindow::hideEvent(QHideEvent* event) {
    piano_->ReleaseAll();
    output_->SetShown(false);
    RememberGeometry();
    QWidget::hideEvent(event);
}

// A key let go in another window would never be released here.
void VoiceWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) piano_->ReleaseAll();
    QWidget::changeEvent(event);
}

// The keys the focused widget leaves alone play the piano.
void VoiceWindow::keyPressEvent(QKeyEvent* event) {
    if (!piano_->PressComputerKey(*event)) QWidget::keyPressEvent(event);
}

void VoiceWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!piano_->ReleaseComputerKey(*event)) QWidget::keyReleaseEvent(event);
}

}  // namespace voxtane::qt
