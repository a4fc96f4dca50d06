#pragma once

#include <QTimer>
#include <QWidget>

#include "editor/settings_store.h"
#include "qt/audio_runner.h"
#include "voice/audio_output.h"

class QComboBox;
class QLabel;
class QCheckBox;
class QProgressBar;

namespace voxtane::qt {

// The Voice window's row for the sound: "Play on this computer", the audio output to play on,
// what it does and a level meter; the switch and the output are kept between runs. Without an
// audio output, or where the audio systems offer none, it says so and the rest of the window
// works without sound.
class OutputBand : public QWidget {
    Q_OBJECT

  public:
    // The meter follows the voice about 30 times a second.
    static constexpr int kMeterMilliseconds = 33;
    static constexpr int kTestNote = 60;
    static constexpr int kTestNoteMilliseconds = 1000;

    OutputBand(voice::AudioOutput* output, editor::SettingsStore& settings, QWidget* parent);

    // The output plays while the window shows and "Play on this computer" is on: opened then
    // (after the outputs are listed, the first time) and closed otherwise, so that it holds no
    // device while nobody listens.
    void SetShown(bool shown);
    // The voice that plays now; nothing while no output is open or one is opening.
    [[nodiscard]] voice::LiveVoice* Voice() const;
    // Middle C for one second, as the synth's Play Note sounds it, when the voice plays; the
    // release comes from the event loop.
    void PlayTestNote();

    [[nodiscard]] QComboBox* DeviceList() const { return devices_; }
    [[nodiscard]] QCheckBox* PlaySwitch() const { return play_; }

  signals:
    // A voice started: it is silent until it is given the tone.
    void voiceStarted();

  private:
    void Apply();
    void ShowDevices(const QStringList& devices);
    void StartChosen();
    void ShowStarted(bool ok, const QString& reason);
    void ShowMeter();
    void SayNoOutput();

    editor::SettingsStore& settings_;
    AudioRunner* runner_ = nullptr;  // none without an audio output
    QComboBox* devices_;
    QLabel* status_;
    QProgressBar* meter_;
    QCheckBox* play_;
    QTimer meterTimer_;
    QTimer noteTimer_;
    bool shown_ = false;
    bool playing_ = false;
    bool listed_ = false;
};

}  // namespace voxtane::qt
