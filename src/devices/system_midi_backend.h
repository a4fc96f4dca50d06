#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/port_system.h"
#include "midi/midi_backend.h"

namespace voxtane::devices {

enum class MidiSystem { AlsaSequencer, Jack };

// The MIDI systems of this machine: the ALSA sequencer through RtMidi, a JACK server through a
// client of the program's own. Devices are the output ports of every system that starts here,
// in the order given and then in each system's order, named with the system in front
// ("ALSA: ...", "JACK: ...") so that ports of different systems are told apart. A system that
// does not start contributes no devices and no message.
class SystemMidiBackend : public midi::MidiBackend {
  public:
    // The name of the program's own output port, made on the first open of the default output,
    // and of the program's JACK client.
    static constexpr const char* kDefaultPortName = "Voxtane";

    explicit SystemMidiBackend(std::vector<MidiSystem> systems = {MidiSystem::AlsaSequencer,
                                                                  MidiSystem::Jack});

    // The systems that started, by name, in device order.
    [[nodiscard]] std::vector<std::string> SystemNames() const;

    [[nodiscard]] std::size_t ListDevices() override;
    [[nodiscard]] midi::DeviceName NameOf(std::size_t device) override;
    [[nodiscard]] midi::OpenedOutput Open(std::size_t device) override;
    // The first system that offers ports of a program's own holds the default port.
    [[nodiscard]] midi::OpenedOutput OpenDefault() override;
    // Inputs are named like the outputs, with their system in front.
    [[nodiscard]] std::vector<std::string> InputNames() override;
    [[nodiscard]] midi::OpenedInput OpenInput(const std::string& name) override;
    [[nodiscard]] std::optional<std::string> TakeNotice() override;

  private:
    struct Listed {
        PortSystem* system;
        std::string port;
    };

    std::vector<std::unique_ptr<PortSystem>> systems_;
    std::vector<Listed> listed_;
    PortSystem* defaultSystem_ = nullptr;
};

}  // namespace voxtane::devices
