#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>

#include "midi/midi_backend.h"
#include "voice/audio_output.h"

class QEventLoop;
class QThread;

namespace voxtane::qt {

// The machine's MIDI systems and audio output, from the device library, which a thread of their
// own loads and starts while the first window goes on screen: the library and the libraries it
// brings (RtMidi, JACK, ALSA, RtAudio, libsndfile), and the MIDI systems' first answers, then
// hold up no window. The library stays loaded to the end of the process.
class BackgroundDevices {
  public:
    // Where the program finds the library: beside its own folder (VOXTANE_DEVICES_FROM_PROGRAM).
    [[nodiscard]] static QString LibraryBesideProgram();

    // Starts loading `library` at once.
    explicit BackgroundDevices(const QString& library = LibraryBesideProgram());
    ~BackgroundDevices();
    BackgroundDevices(const BackgroundDevices&) = delete;
    BackgroundDevices& operator=(const BackgroundDevices&) = delete;

    // Returns once the devices are there. Meanwhile the windows on screen are kept drawn; what
    // the user does waits until afterwards.
    void Wait();

    // After Wait(): the backend over the machine's MIDI systems; without the library, one that
    // offers no devices and says why.
    [[nodiscard]] midi::MidiBackend& Midi();
    // After Wait(): the audio output; nothing without the library.
    [[nodiscard]] voice::AudioOutput* Audio();
    // After Wait(): why the library could not be loaded; "" when it was.
    [[nodiscard]] const std::string& Problem() const { return problem_; }

  private:
    void Load(const QString& library);

    std::unique_ptr<midi::MidiBackend> midi_;
    std::unique_ptr<voice::AudioOutput> audio_;
    std::string problem_;
    std::atomic<bool> loaded_{false};
    QObject wake_;  // of the window's thread: the loading thread's call to it ends a Wait()
    QEventLoop* waiting_ = nullptr;  // the loop of a Wait() in progress
    std::unique_ptr<QThread> thread_;
};

}  // namespace voxtane::qt
