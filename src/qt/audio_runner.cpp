#include "qt/audio_runner.h"

#include <string>

namespace voxtane::qt {

AudioRunner::AudioRunner(voice::AudioOutput& output, QObject* parent)
    : QObject(parent), output_(output), worker_(std::make_unique<QObject>()) {
    thread_.setObjectName(QStringLiteral("Voxtane audio devices"));
    worker_->moveToThread(&thread_);
    thread_.start();
}

AudioRunner::~AudioRunner() {
    thread_.quit();
    thread_.wait();
}

// The voice as the call left it travels back with the report: calls run one at a time, so the
// last report brings the voice that plays.
void AudioRunner::Post(std::function<void()> call, std::function<void()> report) {
    ++pending_;
    QMetaObject::invokeMethod(
        worker_.get(),
        [this, call = std::move(call), report = std::move(report)] {
            call();
            voice::LiveVoice* voice = output_.Voice();
            QMetaObject::invokeMethod(
                this,
                [this, voice, report] {
                    --pending_;
                    voice_ = voice;
                    report();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void AudioRunner::ListDevices() {
    auto devices = std::make_shared<QStringList>();
    Post(
        [this, devices] {
            for (const std::string& name : output_.Devices())
                devices->push_back(QString::fromStdString(name));
        },
        [this, devices] { emit devicesListed(*devices); });
}

void AudioRunner::Start(const QString& device) {
    auto status = std::make_shared<voice::AudioStatus>();
    Post([this, status, name = device.toStdString()] { *status = output_.Start(name); },
         [this, status] { emit started(status->ok, QString::fromStdString(status->reason)); });
}

void AudioRunner::Stop() {
    Post([this] { output_.Stop(); }, [] {});
}

}  // namespace voxtane::qt
