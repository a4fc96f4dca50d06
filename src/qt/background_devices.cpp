#include "qt/background_devices.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLibrary>
#include <QThread>

#include "devices/device_library.h"

namespace voxtane::qt {
namespace {

// What stands in for the machine's MIDI systems when the device library is missing: no output
// and no input, and the reason wherever a device is asked for.
class NoMidiSystems : public midi::MidiBackend {
  public:
    explicit NoMidiSystems(std::string reason) : reason_(std::move(reason)) {}
    std::size_t ListDevices() override { return 0; }
    midi::DeviceName NameOf(std::size_t /*device*/) override {
        return {{midi::MMSYSERR_BADDEVICEID, reason_}, ""};
    }
    midi::OpenedOutput Open(std::size_t /*device*/) override {
        return {{midi::MMSYSERR_BADDEVICEID, reason_}, nullptr};
    }
    midi::OpenedOutput OpenDefault() override {
        return {{midi::MIDIERR_NODEVICE, reason_}, nullptr};
    }

  private:
    std::string reason_;
};

}  // namespace

QString BackgroundDevices::LibraryBesideProgram() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           QLatin1String(VOXTANE_DEVICES_FROM_PROGRAM);
}

BackgroundDevices::BackgroundDevices(const QString& library)
    : thread_(QThread::create([this, library] {
          Load(library);
          loaded_.store(true);
          QMetaObject::invokeMethod(
              &wake_,
              [this] {
                  if (waiting_ != nullptr) waiting_->quit();
              },
              Qt::QueuedConnection);
      })) {
    thread_->start();
}

BackgroundDevices::~BackgroundDevices() {
    thread_->wait();
    // The devices go first; the library stays loaded, as its libraries' threads may outlive
    // them.
    midi_.reset();
    audio_.reset();
}

void BackgroundDevices::Load(const QString& path) {
    using MakeMidi = midi::MidiBackend* (*)();
    using MakeAudio = voice::AudioOutput* (*)();
    QLibrary library(path);
    if (!library.load()) {
        problem_ =
            "the device library could not be loaded (" + library.errorString().toStdString() + ")";
    } else {
        auto makeMidi = reinterpret_cast<MakeMidi>(library.resolve(VOXTANE_DEVICES_ENTRY));
        auto makeAudio = reinterpret_cast<MakeAudio>(library.resolve(VOXTANE_AUDIO_ENTRY));
        if (makeMidi != nullptr && makeAudio != nullptr) {
            midi_.reset(makeMidi());
            audio_.reset(makeAudio());
            return;
        }
        problem_ =
            "the device library " + path.toStdString() + " is not the one this program needs";
    }
    midi_ = std::make_unique<NoMidiSystems>(problem_);
}

void BackgroundDevices::Wait() {
    // The loading thread sets the flag before it posts the call that ends the loop, and that
    // call runs on this thread: either the flag is seen here or the call comes in the loop.
    if (!loaded_.load()) {
        QEventLoop loop;
        waiting_ = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        waiting_ = nullptr;
    }
    thread_->wait();
}

midi::MidiBackend& BackgroundDevices::Midi() {
    Wait();
    return *midi_;
}

voice::AudioOutput* BackgroundDevices::Audio() {
    Wait();
    return audio_.get();
}

}  // namespace voxtane::qt
