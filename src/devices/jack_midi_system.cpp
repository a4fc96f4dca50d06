#include "devices/jack_midi_system.h"

#include <algorithm>
#include <chrono>

namespace voxtane::devices {

namespace {
using namespace std::chrono_literals;
using Side = JackMidiSystem::Side;
using State = Side::State;
using Port = JackMidiClient::Port;

constexpr const char* kOutputPort = "out";
constexpr const char* kInputPort = "in";
// A server that runs no cycle for this long has stopped. On a busy machine a server without
// realtime scheduling can stall for seconds; an open or a close that gave up earlier would fail
// for nothing or lose what was sent last, such as the F7 that ends an exchange.
constexpr std::chrono::milliseconds kCycleLimit = JackMidiClient::kLongestStall;
// How long an open may take to get its connection into the graph, however busy the machine.
constexpr std::chrono::milliseconds kConnectLimit = kCycleLimit;

const midi::BackendStatus kServerGone{midi::MMSYSERR_NODRIVER, "JACK: the server has stopped"};
const midi::BackendStatus kNoServer{midi::MIDIERR_NODEVICE, "JACK: no server runs"};

std::shared_ptr<Side> StartSide(const std::string& clientName) {
    std::unique_ptr<JackMidiClient> client = JackMidiClient::Start(clientName);
    if (!client) return nullptr;
    auto side = std::make_shared<Side>();
    side->client = std::move(client);
    return side;
}

// How long of the time from `opened` to `now` the port's connection was still being made.
std::chrono::steady_clock::duration Connecting(Side& side, Port port,
                                               std::chrono::steady_clock::time_point opened,
                                               std::chrono::steady_clock::time_point now) {
    const std::lock_guard lock(side.mutex);
    const Side::Use& use = side.uses[port];
    const auto until = use.state == State::Connecting ? now : std::min(now, use.settled);
    return std::max(until - opened, std::chrono::steady_clock::duration{});
}

}  // namespace

// An open output over a port of the program's client: one connected to a device until the
// close, or the lasting port, which stays as it is.
class JackOutput : public midi::OutputConnection {
  public:
    // Over the lasting port when `device` is empty.
    JackOutput(JackMidiSystem& system, std::shared_ptr<Side> side, Port port,
               std::uint64_t generation, bool lasting)
        : system_(system),
          side_(std::move(side)),
          port_(port),
          generation_(generation),
          lasting_(lasting),
          opened_(std::chrono::steady_clock::now()),
          stalledBefore_(side_->client->Stalled(opened_)) {}

    // The server's stalls since the open, and until the connection is carried, the time it
    // took.
    [[nodiscard]] std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point now) const override {
        const auto stalled = side_->client->Stalled(now) - stalledBefore_;
        return lasting_ ? stalled : stalled + Connecting(*side_, port_, opened_, now);
    }

    [[nodiscard]] midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    [[nodiscard]] midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    // What was sent leaves after the close returns; the next open of the device goes after it.
    [[nodiscard]] midi::BackendStatus Close() override {
        if (side_->client->ServerGone()) return kServerGone;
        JackMidiSystem& system = system_;
        std::shared_ptr<Side> side = side_;
        const Port port = port_;
        if (lasting_) {
            // Nothing to disconnect; the worker waits for the last messages, also at the end.
            if (sent_)
                system.worker_->Post(
                    [side, port] { (void)side->client->Drain(port, kCycleLimit); });
            return {};
        }
        {
            const std::lock_guard lock(side->mutex);
            side->uses[port].open = false;
        }
        system.worker_->Post([&system, side, port, generation = generation_] {
            system.CloseOutput(side, port, generation);
        });
        return {};
    }

  private:
    [[nodiscard]] midi::BackendStatus Send(std::span<const std::uint8_t> message) {
        JackMidiClient& client = *side_->client;
        if (client.ServerGone()) return kServerGone;
        if (!lasting_) {
            const std::lock_guard lock(side_->mutex);
            const Side::Use& use = side_->uses[port_];
            if (use.state == State::Failed) return {midi::MMSYSERR_ERROR, use.failure};
        }
        midi::BackendStatus status = client.Send(port_, message);
        if (status.code == midi::MMSYSERR_NOERROR) sent_ = true;
        return status;
    }

    JackMidiSystem& system_;
    std::shared_ptr<Side> side_;
    Port port_;
    std::uint64_t generation_;
    bool lasting_;
    std::chrono::steady_clock::time_point opened_;
    std::chrono::steady_clock::duration stalledBefore_;
    bool sent_ = false;
};

// An open input over a port of the program's input client connected from a device; the close
// disconnects it, drops what is still unread and gives the port back.
class JackInput : public midi::InputConnection {
  public:
    JackInput(JackMidiSystem& system, std::shared_ptr<Side> side, Port port)
        : system_(system),
          side_(std::move(side)),
          port_(port),
          opened_(std::chrono::steady_clock::now()),
          stalledBefore_(side_->client->Stalled(opened_)) {}

    std::vector<std::vector<std::uint8_t>> Received() override {
        return side_->client->Received(port_);
    }
    [[nodiscard]] std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point now) const override {
        return side_->client->Stalled(now) - stalledBefore_ +
               Connecting(*side_, port_, opened_, now);
    }
    midi::BackendStatus Close() override {
        if (side_->client->ServerGone()) return kServerGone;
        JackMidiSystem& system = system_;
        system.worker_->Post(
            [&system, side = side_, port = port_] { system.CloseInput(side, port); });
        return {};
    }

  private:
    JackMidiSystem& system_;
    std::shared_ptr<Side> side_;
    Port port_;
    std::chrono::steady_clock::time_point opened_;
    std::chrono::steady_clock::duration stalledBefore_;
};

std::unique_ptr<JackMidiSystem> JackMidiSystem::Start(const std::string& clientName) {
    std::shared_ptr<Side> outputs = StartSide(clientName);
    if (!outputs) return nullptr;
    return std::unique_ptr<JackMidiSystem>(new JackMidiSystem(clientName, std::move(outputs)));
}

JackMidiSystem::~JackMidiSystem() {
    worker_.reset();  // its last steps may still tell of failures
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

void JackMidiSystem::Tell(std::string notice) {
    const std::lock_guard lock(noticesMutex_);
    notices_.push_back(std::move(notice));
}

std::optional<std::string> JackMidiSystem::TakeNotice() {
    for (const std::shared_ptr<Side>* side : {&outputs_, &inputs_})
        if (*side && (*side)->client->ServerGone()) stopped_ = true;
    std::vector<std::string> told;
    {
        const std::lock_guard lock(noticesMutex_);
        told.swap(notices_);
    }
    if (stopped_) {
        // A server that stopped explains every failure since.
        stopped_ = false;
        return "The JACK server has stopped: its MIDI devices are closed. The next send opens "
               "them again once a JACK server runs.";
    }
    if (told.empty()) return std::nullopt;
    std::string notice;
    for (const std::string& one : told) notice += (notice.empty() ? "" : " ") + one;
    return notice;
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

std::optional<Port> JackMidiSystem::TakePort(Side& side, PortFlow flow, const std::string& device) {
    std::optional<Port> port;
    if (!side.idle.empty()) {
        port = side.idle.back();
        side.idle.pop_back();
    } else {
        port = side.client->Reserve(flow);
    }
    if (port) {
        Side::Use& use = side.uses[*port];
        use.device = device;
        use.state = State::Connecting;
        use.open = true;
        ++use.generation;
        use.failure.clear();
    }
    return port;
}

midi::OpenedOutput JackMidiSystem::Open(const std::string& port) {
    const std::shared_ptr<Side> side = Outputs();
    if (!side) return {kNoServer, nullptr};
    // Ports come and go between listing and opening: the device is found again by its name.
    const std::vector<std::string> names = PortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    const std::lock_guard lock(side->mutex);
    // A port whose close is still waiting for its messages to leave carries on connected: what
    // was sent over it stays ahead of what comes now.
    for (auto& [ours, use] : side->uses)
        if (!use.open && use.device == port &&
            (use.state == State::Connecting || use.state == State::Connected)) {
            use.open = true;
            return {{}, std::make_unique<JackOutput>(*this, side, ours, ++use.generation, false)};
        }
    const std::optional<Port> ours = TakePort(*side, PortFlow::Output, port);
    if (!ours)
        return {{midi::MMSYSERR_ALLOCATED, "JACK: every port of the program is in use"}, nullptr};
    worker_->Post([this, side, ours = *ours, port] { Connect(side, ours, kOutputPort, port); });
    return {{},
            std::make_unique<JackOutput>(*this, side, *ours, side->uses[*ours].generation, false)};
}

midi::OpenedOutput JackMidiSystem::OpenLasting(const std::string& name) {
    const std::shared_ptr<Side> side = Outputs();
    if (!side) return {kNoServer, nullptr};
    const std::lock_guard lock(side->mutex);
    if (!side->lasting) {
        side->lasting = side->client->Reserve(PortFlow::Output);
        if (!side->lasting)
            return {{midi::MMSYSERR_ALLOCATED, "JACK: every port of the program is in use"},
                    nullptr};
        worker_->Post([this, side, port = *side->lasting, name] {
            const midi::BackendStatus made = side->client->Register(port, name);
            if (made.code != midi::MMSYSERR_NOERROR) {
                Tell(made.reason + ".");
                return;
            }
            // What was sent before the port was there went to no one, as nothing could be
            // connected to it: it does not reach whoever connects first.
            side->client->Discard(port);
            side->client->SetFlowing(port, true);
        });
    }
    return {{}, std::make_unique<JackOutput>(*this, side, *side->lasting, 0, true)};
}

std::vector<std::string> JackMidiSystem::InputPortNames() {
    return OthersPorts(PortFlow::Input);
}

midi::OpenedInput JackMidiSystem::OpenInput(const std::string& port) {
    const std::vector<std::string> names = InputPortNames();
    if (std::find(names.begin(), names.end(), port) == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};
    const std::shared_ptr<Side> side = Inputs();
    if (!side) return {kNoServer, nullptr};
    const std::lock_guard lock(side->mutex);
    const std::optional<Port> ours = TakePort(*side, PortFlow::Input, port);
    if (!ours)
        return {{midi::MMSYSERR_ALLOCATED, "JACK: every port of the program is in use"}, nullptr};
    worker_->Post([this, side, ours = *ours, port] { Connect(side, ours, kInputPort, port); });
    return {{}, std::make_unique<JackInput>(*this, side, *ours)};
}

void JackMidiSystem::Connect(const std::shared_ptr<Side>& side, Port port, const char* name,
                             const std::string& device) {
    JackMidiClient& client = *side->client;
    midi::BackendStatus status = client.Register(port, name);
    if (status.code == midi::MMSYSERR_NOERROR) status = client.Connect(port, device, kConnectLimit);
    // A message sent before the connection is part of the graph would go nowhere; once the
    // graph shows it, the cycle after the next one runs with it.
    if (status.code == midi::MMSYSERR_NOERROR &&
        client.WaitPast(client.Cycles(), 2, kCycleLimit) != CycleWait::Passed)
        status = {midi::MIDIERR_NOTREADY, "JACK: the server runs no process cycles"};
    if (status.code != midi::MMSYSERR_NOERROR) (void)client.Disconnect(port, device);
    const std::lock_guard lock(side->mutex);
    Side::Use& use = side->uses[port];
    use.settled = std::chrono::steady_clock::now();
    if (status.code == midi::MMSYSERR_NOERROR) {
        use.state = State::Connected;
        client.SetFlowing(port, true);
        return;
    }
    use.state = State::Failed;
    use.failure = status.reason.empty() ? "JACK: could not connect to " + device : status.reason;
    Tell(device + " could not be opened: " + use.failure + ".");
}

void JackMidiSystem::CloseOutput(const std::shared_ptr<Side>& side, Port port,
                                 std::uint64_t generation) {
    JackMidiClient& client = *side->client;
    std::string device;
    bool connected = false;
    {
        const std::lock_guard lock(side->mutex);
        Side::Use& use = side->uses[port];
        if (use.open || use.generation != generation) return;  // opened again: it carries on
        device = use.device;
        connected = use.state == State::Connected;
        use.state = State::Closing;
    }
    // Closing before the process cycle has taken the bytes would lose a message sent just
    // before the close.
    if (connected) {
        if (const midi::BackendStatus drained = client.Drain(port, kCycleLimit);
            drained.code != midi::MMSYSERR_NOERROR)
            Tell(device + ": " + drained.reason + ".");
    }
    client.SetFlowing(port, false);
    // What is left (after a failed connection) goes nowhere; a cycle must be past before the
    // worker may take it out of the port's buffer.
    const bool quiet = client.WaitPast(client.Cycles(), 2, kCycleLimit) == CycleWait::Passed;
    if (quiet) client.Discard(port);
    const bool disconnected = client.Disconnect(port, device).code == midi::MMSYSERR_NOERROR;
    const std::lock_guard lock(side->mutex);
    side->uses[port].state = State::Idle;
    // A port whose buffer may still be read, or that is still connected, is not used again.
    if (quiet && disconnected) side->idle.push_back(port);
}

void JackMidiSystem::CloseInput(const std::shared_ptr<Side>& side, Port port) {
    JackMidiClient& client = *side->client;
    std::string device;
    {
        const std::lock_guard lock(side->mutex);
        Side::Use& use = side->uses[port];
        device = use.device;
        use.state = State::Closing;
        use.open = false;
    }
    const bool disconnected = client.Disconnect(port, device).code == midi::MMSYSERR_NOERROR;
    // Whatever arrived up to the disconnection belongs to no one now.
    const bool quiet = client.WaitPast(client.Cycles(), 2, kCycleLimit) == CycleWait::Passed;
    if (quiet) client.Discard(port);
    const std::lock_guard lock(side->mutex);
    side->uses[port].state = State::Idle;
    if (quiet && disconnected) side->idle.push_back(port);
}

}  // namespace voxtane::devices
