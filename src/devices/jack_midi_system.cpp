#include "devices/jack_midi_system.h"

#include <algorithm>
#include <chrono>

namespace voxtane::devices {

namespace {
using namespace std::chrono_literals;

constexpr const char* kOutputPort = "out";
constexpr const char* kInputPort = "in";
// How long an open may take to get its connection into the graph, however busy the machine.
constexpr std::chrono::milliseconds kConnectLimit = 1000ms;
// A server that runs no cycle for this long has stopped.
constexpr std::chrono::milliseconds kCycleLimit = 1000ms;

// An open output over a port of the program's client: one connected to a device until the
// close, or the lasting port, which stays as it is.
class JackConnection : public midi::OutputConnection {
  public:
    // Over the lasting port.
    JackConnection(JackMidiClient& client, JackMidiClient::Port port)
        : client_(client), port_(port), idle_(nullptr) {}
    // Over a port connected to `device`; the close disconnects it and gives it back to `idle`.
    JackConnection(JackMidiClient& client, JackMidiClient::Port port, std::string device,
                   std::vector<JackMidiClient::Port>& idle)
        : client_(client), port_(port), device_(std::move(device)), idle_(&idle) {}

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
        midi::BackendStatus status;
        if (sent_) status = client_.Drain(port_, kCycleLimit);
        if (idle_ != nullptr) {
            midi::BackendStatus disconnected = client_.Disconnect(port_, device_);
            if (disconnected.code == midi::MMSYSERR_NOERROR) idle_->push_back(port_);
            if (status.code == midi::MMSYSERR_NOERROR) status = std::move(disconnected);
        }
        return status;
    }

  private:
    [[nodiscard]] midi::BackendStatus Send(std::span<const std::uint8_t> message) {
        midi::BackendStatus status = client_.Send(port_, message);
        if (status.code == midi::MMSYSERR_NOERROR) sent_ = true;
        return status;
    }

    JackMidiClient& client_;
    JackMidiClient::Port port_;
    std::string device_;
    std::vector<JackMidiClient::Port>* idle_;
    bool sent_ = false;
};
// An open input over a port of the program's client connected from a device; the close
// disconnects it, drops what is still unread and gives the port back.
class JackInput : public midi::InputConnection {
  public:
    JackInput(JackMidiClient& client, JackMidiClient::Port port, std::string device,
              std::vector<JackMidiClient::Port>& idle)
        : client_(client), port_(port), device_(std::move(device)), idle_(idle) {}

    std::vector<std::vector<std::uint8_t>> Received() override { return client_.Received(port_); }
    midi::BackendStatus Close() override {
        midi::BackendStatus status = client_.Disconnect(port_, device_);
        if (status.code == midi::MMSYSERR_NOERROR) {
            (void)client_.Received(port_);
            idle_.push_back(port_);
        }
        return status;
    }

  private:
    JackMidiClient& client_;
    JackMidiClient::Port port_;
    std::string device_;
    std::vector<JackMidiClient::Port>& idle_;
};

}  // namespace

std::unique_ptr<JackMidiSystem> JackMidiSystem::Start(const std::string& clientName) {
    std::unique_ptr<JackMidiClient> client = JackMidiClient::Start(clientName);
    if (!client) return nullptr;
    return std::unique_ptr<JackMidiSystem>(new JackMidiSystem(std::move(client)));
}

std::vector<std::string> JackMidiSystem::PortNames() {
    return client_->OtherPorts(PortFlow::Output);
}

midi::OpenedOutput JackMidiSystem::Open(const std::string& port) {
    // Ports come and go between listing and opening: the device is found again by its name.
    const std::vector<std::string> names = PortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    if (idle_.empty()) {
        JackMidiClient::Registered registered =
            client_->RegisterPort(kOutputPort, PortFlow::Output);
        if (!registered.port) return {std::move(registered.status), nullptr};
        idle_.push_back(*registered.port);
    }
    const JackMidiClient::Port ours = idle_.back();
    midi::BackendStatus connected = client_->Connect(ours, port, kConnectLimit);
    // A message sent before the connection is part of the graph would go nowhere; once the
    // graph shows it, the cycle after the next one runs with it.
    if (connected.code == midi::MMSYSERR_NOERROR &&
        client_->WaitPast(client_->Cycles(), 2, kCycleLimit) == CycleWait::TimedOut)
        connected = {midi::MIDIERR_NOTREADY, "JACK: the server runs no process cycles"};
    if (connected.code != midi::MMSYSERR_NOERROR) {
        (void)client_->Disconnect(ours, port);
        return {std::move(connected), nullptr};
    }
    idle_.pop_back();
    return {{}, std::make_unique<JackConnection>(*client_, ours, port, idle_)};
}

midi::OpenedOutput JackMidiSystem::OpenLasting(const std::string& name) {
    if (!lasting_) {
        JackMidiClient::Registered registered = client_->RegisterPort(name, PortFlow::Output);
        if (!registered.port) return {std::move(registered.status), nullptr};
        lasting_ = registered.port;
    }
    return {{}, std::make_unique<JackConnection>(*client_, *lasting_)};
}

std::vector<std::string> JackMidiSystem::InputPortNames() {
    return client_->OtherPorts(PortFlow::Input);
}

midi::OpenedInput JackMidiSystem::OpenInput(const std::string& port) {
    const std::vector<std::string> names = InputPortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    if (idleInputs_.empty()) {
        JackMidiClient::Registered registered = client_->RegisterPort(kInputPort, PortFlow::Input);
        if (!registered.port) return {std::move(registered.status), nullptr};
        idleInputs_.push_back(*registered.port);
    }
    const JackMidiClient::Port ours = idleInputs_.back();
    if (midi::BackendStatus connected = client_->Connect(ours, port, kConnectLimit);
        connected.code != midi::MMSYSERR_NOERROR) {
        (void)client_->Disconnect(ours, port);
        return {std::move(connected), nullptr};
    }
    // Whatever an earlier connection left unread belongs to no one now.
    (void)client_->Received(ours);
    idleInputs_.pop_back();
    return {{}, std::make_unique<JackInput>(*client_, ours, port, idleInputs_)};
}

}  // namespace voxtane::devices
