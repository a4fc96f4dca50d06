#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/jack_midi_client.h"
#include "devices/port_system.h"

namespace voxtane::devices {

// A JACK server reached through the program's own client, named after the program. Opening a
// device connects an output port of that client to the device's port; closing waits until what
// was sent has left and disconnects it again. The port itself stays for the next open: making
// and removing ports for every operation costs server requests and, as JACK reuses the numbers
// of removed ports, makes a graph that is not yet updated show old connections as new ones.
class JackMidiSystem : public PortSystem {
  public:
    // Nothing, silently, when no JACK server runs here.
    [[nodiscard]] static std::unique_ptr<JackMidiSystem> Start(const std::string& clientName);

    [[nodiscard]] const std::string& Name() const override { return name_; }
    [[nodiscard]] std::vector<std::string> PortNames() override;
    [[nodiscard]] midi::OpenedOutput Open(const std::string& port) override;
    [[nodiscard]] midi::OpenedOutput OpenLasting(const std::string& name) override;
    [[nodiscard]] std::vector<std::string> InputPortNames() override;
    [[nodiscard]] midi::OpenedInput OpenInput(const std::string& port) override;

  private:
    explicit JackMidiSystem(std::unique_ptr<JackMidiClient> client) : client_(std::move(client)) {}

    std::string name_ = "JACK";
    std::unique_ptr<JackMidiClient> client_;
    // Output ports not connected to any device now; an open takes one, its close gives it back.
    std::vector<JackMidiClient::Port> idle_;
    std::vector<JackMidiClient::Port> idleInputs_;
    std::optional<JackMidiClient::Port> lasting_;
};

}  // namespace voxtane::devices
