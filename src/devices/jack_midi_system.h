#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/jack_midi_client.h"
#include "devices/port_system.h"

namespace voxtane::devices {

// A JACK server reached through the program's own clients, named after the program. Opening a
// device connects an output port of that client to the device's port; closing waits until what
// was sent has left and disconnects it again. The port itself stays for the next open: making
// and removing ports for every operation costs server requests and, as JACK reuses the numbers
// of removed ports, makes a graph that is not yet updated show old connections as new ones.
//
// Inputs belong to a second client of their own. With both directions on one client, talking to
// a device that answers makes a loop in the graph, and JACK runs one connection of a loop as
// "feedback": the device reads the program's port without waiting for the program's cycle. On
// a busy machine, where the program's cycle comes late, the device then reads the same messages
// again. Two clients keep the graph a chain: program's output, device, program's input.
//
// When the server stops, the clients are dropped, the open devices fail from then on, and the
// next use starts new clients once a server runs again.
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
    [[nodiscard]] std::optional<std::string> TakeNotice() override;

    // The program's client of each direction and the ports it made, shared with the devices
    // open over them, which outlive a client dropped after a server stop.
    struct Side {
        std::unique_ptr<JackMidiClient> client;
        std::vector<JackMidiClient::Port> idle;  // ports not connected to any device now
        std::optional<JackMidiClient::Port> lasting;
    };

  private:
    explicit JackMidiSystem(std::string clientName, std::shared_ptr<Side> outputs)
        : clientName_(std::move(clientName)), outputs_(std::move(outputs)) {}
    // The side's client, started anew when the server stopped since; nothing while no server
    // runs.
    [[nodiscard]] std::shared_ptr<Side> Live(std::shared_ptr<Side>& side,
                                             const std::string& clientName);
    [[nodiscard]] std::shared_ptr<Side> Outputs() { return Live(outputs_, clientName_); }
    [[nodiscard]] std::shared_ptr<Side> Inputs() { return Live(inputs_, clientName_ + " in"); }
    // The other clients' ports of one kind, without those of the program's other client.
    [[nodiscard]] std::vector<std::string> OthersPorts(PortFlow flowOfOurs);

    std::string name_ = "JACK";
    std::string clientName_;
    std::shared_ptr<Side> outputs_;
    std::shared_ptr<Side> inputs_;  // started with the first input
    bool stopped_ = false;          // the server stopped and no notice has told so yet
};

}  // namespace voxtane::devices
