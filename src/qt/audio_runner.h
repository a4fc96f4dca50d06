#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <memory>

#include "voice/audio_output.h"

namespace voxtane::qt {

// The audio output as the window's thread uses it. Listing the devices and opening or closing
// a stream can keep an audio system busy for much longer than a frame, so every such call runs
// on a thread of its own, one after the other in the order asked, and its outcome comes back
// on the window's thread as a signal. The voice is only handed out while no call is on its way:
// a call may replace it.
class AudioRunner : public QObject {
    Q_OBJECT

  public:
    AudioRunner(voice::AudioOutput& output, QObject* parent);
    // Waits for the call in progress, which may still use the output.
    ~AudioRunner() override;
    AudioRunner(const AudioRunner&) = delete;
    AudioRunner& operator=(const AudioRunner&) = delete;

    void ListDevices();                 // then devicesListed
    void Start(const QString& device);  // then started
    void Stop();

    // The voice that plays; nothing while stopped or while a call is on its way.
    [[nodiscard]] voice::LiveVoice* Voice() const { return pending_ == 0 ? voice_ : nullptr; }
    [[nodiscard]] bool Busy() const { return pending_ > 0; }

  signals:
    void devicesListed(const QStringList& devices);
    // `reason` is the audio system's own words when the start failed.
    void started(bool ok, const QString& reason);

  private:
    // Runs `call` on the device thread, then `report` back on this object's thread.
    void Post(std::function<void()> call, std::function<void()> report);

    voice::AudioOutput& output_;
    QThread thread_;
    std::unique_ptr<QObject> worker_;  // lives on thread_
    int pending_ = 0;                  // calls asked for and not yet reported
    voice::LiveVoice* voice_ = nullptr;
};

}  // namespace voxtane::qt
