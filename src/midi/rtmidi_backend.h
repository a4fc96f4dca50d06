#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "midi/midi_backend.h"
#include "midi/rtmidi_output.h"
#include "midi/rtmidi_system.h"

namespace voxtane::midi {

// The MIDI systems of this machine through RtMidi. Devices are the output ports of every system
// that starts here, in the order given and then in each system's order, named with the system
// in front ("ALSA: ...", "JACK: ...") so that ports of different systems are told apart. A
// system that does not start contributes no devices and no message.
class RtMidiBackend : public MidiBackend {
  public:
    // The name of the program's own output port, made on the first open of the default output.
    static constexpr const char* kDefaultPortName = "Voxtane";

    explicit RtMidiBackend(std::vector<MidiSystem> systems = {MidiSystem::AlsaSequencer,
                                                              MidiSystem::Jack});
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    // The systems that started, by name, in device order.
    [[nodiscard]] std::vector<std::string> SystemNames() const;

    [[nodiscard]] std::size_t ListDevices() override;
    [[nodiscard]] DeviceName NameOf(std::size_t device) override;
    [[nodiscard]] OpenedOutput Open(std::size_t device) override;
    // The first system that offers ports of a program's own holds the default port.
    [[nodiscard]] OpenedOutput OpenDefault() override;

  private:
    struct Listed {
        RtMidiSystem* system;
        std::string port;
    };

    std::vector<std::unique_ptr<RtMidiSystem>> systems_;
    std::vector<Listed> listed_;
    RtMidiSystem* defaultSystem_ = nullptr;
    std::unique_ptr<RtMidiOutput> defaultPort_;
};

}  // namespace voxtane::midi
