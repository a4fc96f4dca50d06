#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/jack_midi_client.h"
#include "devices/jack_worker.h"
#include "devices/port_system.h"

namespace voxtane::devices {

// A JACK server reached through the program's own clients, named after the program. Opening a
// device connects an output port of that client to the device's port; closing waits until what
// was sent has left and disconnects it again. The port itself stays for the next open: making
// and removing ports for every operation costs server requests and, as JACK reuses the numbers
// of removed ports, makes a graph that is not yet updated show old connections as new ones.
//
// Opens and closes return at once; their slow steps (the connection request and the cycles
// until the graph carries it, waiting for what was sent to leave, the disconnection) run on a
// worker thread in the order they were asked for. What is sent meanwhile waits in the port's
// buffer until the connection carries it, so messages still leave in order, each after its
// open. A failure of those steps fails the device's later sends and is told as a notice. An
// open of a device whose close is still waiting for its messages to leave takes the port over,
// still connected.
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
        enum class State { Idle, Connecting, Connected, Failed, Closing };
        // What a port of the client is used for now.
        struct Use {
            std::string device;
            State state = State::Idle;
            bool open = false;             // a connection over it has not been closed
            std::uint64_t generation = 0;  // counts the opens over the port
            std::string failure;           // why it failed
            // When the last connection step ended, connected or failed.
            std::chrono::steady_clock::time_point settled{};
        };
        std::unique_ptr<JackMidiClient> client;
        std::mutex mutex;  // guards what follows, shared by the window's thread and the worker
        std::vector<JackMidiClient::Port> idle;  // ports not connected to any device now
        std::optional<JackMidiClient::Port> lasting;
        std::map<JackMidiClient::Port, Use> uses;
    };
    ~JackMidiSystem() override;

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
    // A port for a new use, taken from the idle ones or reserved; a failure when none is left.
    [[nodiscard]] std::optional<JackMidiClient::Port> TakePort(Side& side, PortFlow flow,
                                                               const std::string& device);
    // The worker's steps.
    void Connect(const std::shared_ptr<Side>& side, JackMidiClient::Port port, const char* name,
                 const std::string& device);
    void CloseOutput(const std::shared_ptr<Side>& side, JackMidiClient::Port port,
                     std::uint64_t generation);
    void CloseInput(const std::shared_ptr<Side>& side, JackMidiClient::Port port);
    void Tell(std::string notice);

    friend class JackOutput;
    friend class JackInput;

    std::string name_ = "JACK";
    std::string clientName_;
    std::shared_ptr<Side> outputs_;
    std::shared_ptr<Side> inputs_;  // started with the first input
    bool stopped_ = false;          // the server stopped and no notice has told so yet
    std::mutex noticesMutex_;
    std::vector<std::string> notices_;  // the worker's failures, not told yet
    std::unique_ptr<JackWorker> worker_ = std::make_unique<JackWorker>();  // ends first
};

}  // namespace voxtane::devices
