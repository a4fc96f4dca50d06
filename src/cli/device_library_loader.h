#pragma once

#include <memory>
#include <span>
#include <string>

#include "cli/shared_library.h"
#include "midi/midi_backend.h"

namespace voxtane::cli {

// The device library, loaded when a command needs the machine's MIDI systems and not before:
// the other commands start without RtMidi, JACK and ALSA. It lies in ../lib/voxtane/ beside the
// program's folder, in the build tree as after installation (on Windows: beside the program).
class DeviceLibrary {
  public:
    // Nothing when the library cannot be loaded; `whyNot` tells why.
    [[nodiscard]] static std::unique_ptr<DeviceLibrary> Load(std::string& whyNot);
    ~DeviceLibrary();
    DeviceLibrary(const DeviceLibrary&) = delete;
    DeviceLibrary& operator=(const DeviceLibrary&) = delete;

    // A backend over this machine's MIDI systems; it must go before the library.
    [[nodiscard]] std::unique_ptr<midi::MidiBackend> SystemBackend() const;
    // Writes mono samples as a 16-bit WAV file; "" when written, else why not.
    [[nodiscard]] std::string WriteWav(const std::string& path, std::span<const float> samples,
                                       int sampleRate) const;

  private:
    using Entry = midi::MidiBackend* (*)();
    using WavEntry = int (*)(const char*, const float*, std::size_t, int, char*, std::size_t);
    DeviceLibrary(std::unique_ptr<SharedLibrary> library, Entry entry, WavEntry wav)
        : library_(std::move(library)), entry_(entry), wav_(wav) {}
    std::unique_ptr<SharedLibrary> library_;
    Entry entry_;
    WavEntry wav_;
};

}  // namespace voxtane::cli
