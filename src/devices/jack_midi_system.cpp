#include "devices/jack_midi_system.h"

#include <algorithm>
#include <chrono>

namespace voxtane::devices {

namespace {
using namespace std::chrono_literals;
using Side = JackMidiSystem::Side;

constexpr const char* kOutputPort = "out";
constexpr const char* kInputPort = "in";
// A server that runs no cycle for this long has stopped. On a busy machine a server without
// realtime scheduling can stall for seconds; an open or a close that gave up earlier would fail
// for nothing or lose what was sent last, such as the F7 that ends an exchange.
constexpr std::chrono::milliseconds kCycleLimit = JackMidiClient::kLongestStall;
// How long an open may take to get its connection into the graph, however busy the machine.
constexpr std::chrono::milliseconds kConnectLimit = kCycleLimit;

const midi::BackendStatus kServerGone{midi::MMSYSERR_NODRIVER, "JACK: the server has stopped"};

// An open output over a port of the program's client: one connected to a device until the
// close, or the lasting port, which stays as it is.
class JackConnection : public midi::OutputConnection {
  public:
    // Over the lasting port when `device` is empty; otherwise the close disconnects the port
    // and gives it back to the side's idle ports.
    JackConnection(std::shared_ptr<Side> side, JackMidiClient::Port port, std::string device)
        : side_(std::move(side)), port_(port), device_(std::move(device)) {}

    [[nodiscard]] midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    [[nodiscard]] midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    // Closing before the process cycle has taken the bytes would lose a message sent just
    // before the close; on the lasting port it would go out later, to whatever is connected by
    // then.
    [[nodiscard]] midi::BackendStatus Close() override {
        JackMidiClient& client = *side_->client;
        if (client.ServerGone()) return kServerGone;
        midi::BackendStatus status;
        if (sent_) status = client.Drain(port_, kCycleLimit);
        if (!device_.empty()) {
            midi::BackendStatus disconnected = client.Disconnect(port_, device_);
            if (disconnected.code == midi::MMSYSERR_NOERROR) side_->idle.push_back(port_);
            if (status.code == midi::MMSYSERR_NOERROR) status = std::move(disconnected);
        }
        return status;
    }

  private:
    [[nodiscard]] midi::BackendStatus Send(std::span<const std::uint8_t> message) {
        if (side_->client->ServerGone()) return kServerGone;
        midi::BackendStatus status = side_->client->Send(port_, message);
        if (status.code == midi::MMSYSERR_NOERROR) sent_ = true;
        return status;
    }

    std::shared_ptr<Side> side_;
    JackMidiClient::Port port_;
    std::string device_;
    bool sent_ = false;
};

// An open input over a port of the program's input client connected from a device; the close
// disconnects it, drops what is still unread and gives the port back.
class JackInput : public midi::InputConnection {
  public:
    JackInput(std::shared_ptr<Side> side, JackMidiClient::Port port, std::string device)
        : side_(std::move(side)),
          port_(port),
          device_(std::move(device)),
          stalledBefore_(side_->client->Stalled(std::chrono::steady_clock::now())) {}

    std::vector<std::vector<std::uint8_t>> Received() override {
        return side_->client->Received(port_);
    }
    [[nodiscard]] std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point now) const override {
        return side_->client->Stalled(now) - stalledBefore_;
    }
    midi::BackendStatus Close() override {
        JackMidiClient& client = *side_->client;
        if (client.ServerGone()) return kServerGone;
        midi::BackendStatus status = client.Disconnect(port_, device_);
        if (status.code == midi::MMSYSERR_NOERROR) {
            (void)client.Received(port_);
            side_->idle.push_back(port_);
        }
        return status;
    }

  private:
    std::shared_ptr<Side> side_;
    JackMidiClient::Port port_;
    std::string device_;
    std::chrono::steady_clock::duration stalledBefore_;
};

std::shared_ptr<Side> StartSide(const std::string& clientName) {
    std::unique_ptr<JackMidiClient> client = JackMidiClient::Start(clientName);
    if (!client) return nullptr;
    auto side = std::make_shared<Side>();
    side->client = std::move(client);
    return side;
}

// A port of the side's client not connected to anything, made when none is idle.
std::optional<JackMidiClient::Port> TakeIdle(Side& side, const char* name, PortFlow flow,
                                             midi::BackendStatus& failure) {
    if (side.idle.empty()) {
        JackMidiClient::Registered registered = side.client->RegisterPort(name, flow);
        if (!registered.port) {
            failure = std::move(registered.status);
            return std::nullopt;
        }
        side.idle.push_back(*registered.port);
    }
    const JackMidiClient::Port port = side.idle.back();
    side.idle.pop_back();
    return port;
}

}  // namespace

std::unique_ptr<JackMidiSystem> JackMidiSystem::Start(const std::string& clientName) {
    std::shared_ptr<Side> outputs = StartSide(clientName);
    if (!outputs) return nullptr;
    return std::unique_ptr<JackMidiSystem>(new JackMidiSystem(clientName, std::move(outputs)));
}

std::shared_ptr<Side> JackMidiSystem::Live(std::shared_ptr<Side>& side,
                                           const std::string& clientName) {
    if (side && side->client->ServerGone()) {
        // Devices still open keep the old client until they close; every use of them fails.
        side.reset();
        stopped_ = true;
    }
    if (!side) side = StartSide(clientName);
    return side;
}

std::optional<std::string> JackMidiSystem::TakeNotice() {
    for (const std::shared_ptr<Side>* side : {&outputs_, &inputs_})
        if (*side && (*side)->client->ServerGone()) stopped_ = true;
    if (!stopped_) return std::nullopt;
    stopped_ = false;
    return "The JACK server has stopped: its MIDI devices are closed. The next send opens them "
           "again once a JACK server runs.";
}

std::vector<std::string> JackMidiSystem::OthersPorts(PortFlow flowOfOurs) {
    const std::shared_ptr<Side> outputs = Outputs();
    if (!outputs) return {};
    std::vector<std::string> names = outputs->client->OtherPorts(flowOfOurs);
    if (inputs_ && !inputs_->client->ServerGone()) {
        const std::string ours = inputs_->client->Name() + ":";
        std::erase_if(names, [&ours](const std::string& name) { return name.starts_with(ours); });
    }
    return names;
}

std::vector<std::string> JackMidiSystem::PortNames() {
    return OthersPorts(PortFlow::Output);
}

midi::OpenedOutput JackMidiSystem::Open(const std::string& port) {
    const std::shared_ptr<Side> side = Outputs();
    if (!side) return {{midi::MIDIERR_NODEVICE, "JACK: no server runs"}, nullptr};
    // Ports come and go between listing and opening: the device is found again by its name.
    const std::vector<std::string> names = PortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    JackMidiClient& client = *side->client;
    midi::BackendStatus failure;
    const auto ours = TakeIdle(*side, kOutputPort, PortFlow::Output, failure);
    if (!ours) return {std::move(failure), nullptr};
    midi::BackendStatus connected = client.Connect(*ours, port, kConnectLimit);
    // A message sent before the connection is part of the graph would go nowhere; once the
    // graph shows it, the cycle after the next one runs with it.
    if (connected.code == midi::MMSYSERR_NOERROR &&
        client.WaitPast(client.Cycles(), 2, kCycleLimit) != CycleWait::Passed)
        connected = {midi::MIDIERR_NOTREADY, "JACK: the server runs no process cycles"};
    if (connected.code != midi::MMSYSERR_NOERROR) {
        (void)client.Disconnect(*ours, port);
        side->idle.push_back(*ours);
        return {std::move(connected), nullptr};
    }
    return {{}, std::make_unique<JackConnection>(side, *ours, port)};
}

midi::OpenedOutput JackMidiSystem::OpenLasting(const std::string& name) {
    const std::shared_ptr<Side> side = Outputs();
    if (!side) return {{midi::MIDIERR_NODEVICE, "JACK: no server runs"}, nullptr};
    if (!side->lasting) {
        JackMidiClient::Registered registered = side->client->RegisterPort(name, PortFlow::Output);
        if (!registered.port) return {std::move(registered.status), nullptr};
        side->lasting = registered.port;
    }
    return {{}, std::make_unique<JackConnection>(side, *side->lasting, "")};
}

std::vector<std::string> JackMidiSystem::InputPortNames() {
    return OthersPorts(PortFlow::Input);
}

midi::OpenedInput JackMidiSystem::OpenInput(const std::string& port) {
    const std::vector<std::string> names = InputPortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    const std::shared_ptr<Side> side = Inputs();
    if (!side) return {{midi::MIDIERR_NODEVICE, "JACK: no server runs"}, nullptr};
    JackMidiClient& client = *side->client;
    midi::BackendStatus failure;
    const auto ours = TakeIdle(*side, kInputPort, PortFlow::Input, failure);
    if (!ours) return {std::move(failure), nullptr};
    if (midi::BackendStatus connected = client.Connect(*ours, port, kConnectLimit);
        connected.code != midi::MMSYSERR_NOERROR) {
        (void)client.Disconnect(*ours, port);
        side->idle.push_back(*ours);
        return {std::move(connected), nullptr};
    }
    // Whatever an earlier connection left unread belongs to no one now.
    (void)client.Received(*ours);
    return {{}, std::make_unique<JackInput>(side, *ours, port)};
}

}  // namespace voxtane::devices
