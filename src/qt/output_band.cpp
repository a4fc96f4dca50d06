#include "qt/output_band.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

namespace voxtane::qt {
namespace {

constexpr const char* kOutputSetting = "voice/output";
constexpr const char* kPlaySetting = "voice/playOnComputer";
constexpr int kMeterFloorDecibels = -60;
constexpr QLatin1StringView kNotPlaying("Not playing on this computer");

QString Plural(int count, const char* one, const char* many) {
    return QString::number(count) + QLatin1Char(' ') + QString::fromLatin1(count == 1 ? one : many);
}

void Explain(QWidget& widget, const QString& name, const QString& description) {
    widget.setAccessibleName(name);
    widget.setAccessibleDescription(description);
    widget.setToolTip(description);
}

}  // namespace

OutputBand::OutputBand(voice::AudioOutput* output, editor::SettingsStore& settings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      devices_(new QComboBox(this)),
      status_(new QLabel(this)),
      meter_(new QProgressBar(this)),
      play_(new QCheckBox(QStringLiteral("&Play on this computer"), this)) {
    auto* label = new QLabel(QStringLiteral("&Output:"), this);
    label->setBuddy(devices_);
    devices_->setObjectName(QStringLiteral("cboAudioOutput"));
    devices_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    devices_->setMinimumContentsLength(16);
    Explain(*devices_, QStringLiteral("Audio output"),
            QStringLiteral("The audio output of this computer the voice plays on; choosing one "
                           "starts it."));
    status_->setObjectName(QStringLiteral("lblAudioStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setAccessibleName(QStringLiteral("Audio output status"));
    meter_->setObjectName(QStringLiteral("meterOutput"));
    meter_->setRange(0, -kMeterFloorDecibels);
    meter_->setValue(0);
    meter_->setFormat(QStringLiteral("Silent"));
    meter_->setMinimumWidth(140);
    Explain(*meter_, QStringLiteral("Output level"),
            QStringLiteral("How loud the voice plays now, from 60 dB below full scale to full "
                           "scale, with the number of notes sounding."));
    play_->setObjectName(QStringLiteral("chkPlayOnComputer"));
    play_->setChecked(settings_.Read(kPlaySetting).value_or("1") == "1");
    Explain(*play_, QStringLiteral("Play on this computer"),
            QStringLiteral("While this window is open, the piano keys and the main window's Play "
                           "Note sound the tone being edited on this computer's audio output, "
                           "beside what the synth plays."));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(play_);
    row->addSpacing(12);
    row->addWidget(label);
    row->addWidget(devices_);
    row->addWidget(status_, 1);
    row->addWidget(meter_);

    meterTimer_.setInterval(kMeterMilliseconds);
    connect(&meterTimer_, &QTimer::timeout, this, &OutputBand::ShowMeter);
    noteTimer_.setSingleShot(true);
    noteTimer_.setInterval(kTestNoteMilliseconds);
    connect(&noteTimer_, &QTimer::timeout, this, [this] {
        if (voice::LiveVoice* voice = Voice()) voice->Release(kTestNote);
    });
    // Connected after the saved choice is set: what is written is a change of it.
    connect(play_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.Write(kPlaySetting, on ? "1" : "0");
        Apply();
    });

    if (output == nullptr) {
        SayNoOutput();
        return;
    }
    status_->setText(kNotPlaying);
    runner_ = new AudioRunner(*output, this);
    connect(runner_, &AudioRunner::devicesListed, this, &OutputBand::ShowDevices);
    connect(runner_, &AudioRunner::started, this, &OutputBand::ShowStarted);
    // activated comes from the user's choice only.
    connect(devices_, &QComboBox::activated, this, [this] {
        settings_.Write(kOutputSetting, devices_->currentText().toStdString());
        StartChosen();
    });
    devices_->setEnabled(false);
}

void OutputBand::SayNoOutput() {
    devices_->hide();
    status_->setText(QStringLiteral("No audio output here"));
    play_->setEnabled(false);
}

voice::LiveVoice* OutputBand::Voice() const {
    return runner_ != nullptr ? runner_->Voice() : nullptr;
}

void OutputBand::SetShown(bool shown) {
    shown_ = shown;
    Apply();
}

void OutputBand::Apply() {
    const bool on = shown_ && play_->isChecked();
    if (on == playing_) return;
    playing_ = on;
    if (on) {
        meterTimer_.start();
    } else {
        meterTimer_.stop();
        noteTimer_.stop();
        if (voice::LiveVoice* voice = Voice()) voice->ReleaseAll();
        ShowMeter();
    }
    if (runner_ == nullptr) return;
    if (!on) {
        runner_->Stop();
        if (!listed_ || devices_->count() > 0) status_->setText(kNotPlaying);
    } else if (!listed_) {
        status_->setText(QStringLiteral("Looking for audio outputs..."));
        runner_->ListDevices();
    } else {
        StartChosen();
    }
}

void OutputBand::ShowDevices(const QStringList& devices) {
    listed_ = true;
    devices_->clear();
    devices_->addItems(devices);
    if (devices.isEmpty()) return SayNoOutput();
    if (const auto saved = settings_.Read(kOutputSetting)) {
        const int index = devices_->findText(QString::fromStdString(*saved));
        if (index >= 0) devices_->setCurrentIndex(index);
    }
    devices_->setEnabled(true);
    if (playing_) StartChosen();
}

void OutputBand::StartChosen() {
    if (runner_ == nullptr || devices_->count() == 0 || !playing_) return;
    status_->setText(QStringLiteral("Opening..."));
    runner_->Start(devices_->currentText());
}

void OutputBand::ShowStarted(bool ok, const QString& reason) {
    if (!playing_ || runner_->Busy()) return;  // a later call replaces what this one did
    if (!ok) {
        status_->setText(QStringLiteral("Could not open it: ") + reason);
        return;
    }
    voice::LiveVoice* voice = Voice();
    if (voice == nullptr) return;
    status_->setText(QStringLiteral("Playing at %1 Hz").arg(voice->SampleRate()));
    emit voiceStarted();
}

void OutputBand::PlayTestNote() {
    voice::LiveVoice* voice = Voice();
    if (voice == nullptr) return;
    voice->Press(kTestNote);
    noteTimer_.start();
}

// The peak in decibels below full scale, from silence at the meter's floor.
void OutputBand::ShowMeter() {
    const voice::LiveVoice* voice = playing_ ? Voice() : nullptr;
    const voice::LevelMeter level = voice != nullptr ? voice->Meter() : voice::LevelMeter{};
    const double decibels =
        level.peak > 0.0f ? 20.0 * std::log10(level.peak) : double(kMeterFloorDecibels);
    meter_->setValue(
        std::clamp(int(std::lround(decibels)) - kMeterFloorDecibels, 0, meter_->maximum()));
    meter_->setFormat(level.activeVoices == 0 ? QStringLiteral("Silent")
                                              : Plural(level.activeVoices, "note", "notes"));
}

}  // namespace voxtane::qt
