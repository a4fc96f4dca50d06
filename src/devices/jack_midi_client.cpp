#include "devices/jack_midi_client.h"

#include <jack/midiport.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "devices/quiet_libraries.h"

namespace voxtane::devices {

namespace {
using namespace std::chrono_literals;

// Room for many tone dumps in each direction; a port's bytes wait here for the next cycle.
constexpr std::size_t kRingBytes = 1 << 16;
// After a connection request, how long the graph is watched for it before the request is made
// again: a few periods of any usual size.
constexpr std::chrono::milliseconds kGraphWatch{50};
constexpr std::chrono::milliseconds kRetryPause{5};
// Delays between two cycles that are no stall yet, beyond the period itself.
constexpr std::chrono::milliseconds kStallMargin{20};
constexpr std::int64_t Ticks(std::chrono::steady_clock::time_point time) {
    return time.time_since_epoch().count();
}

using Size = std::uint32_t;

midi::BackendStatus JackFailure(midi::MMRESULT code, const std::string& what) {
    const std::string said = TakeJackComplaint();
    return {code, "JACK: " + what + (said.empty() ? "" : " (" + said + ")")};
}
}  // namespace

std::unique_ptr<JackMidiClient> JackMidiClient::Start(const std::string& name) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status);
    (void)TakeJackComplaint();  // "no server here" is not a failure of ours
    if (client == nullptr) return nullptr;
    std::unique_ptr<JackMidiClient> jack(new JackMidiClient(client));
    for (Slot& slot : jack->slots_) slot.ring = jack_ringbuffer_create(kRingBytes);
    // A cycle comes every period; a few periods more than that are the machine's usual delays.
    const double period =
        static_cast<double>(jack_get_buffer_size(client)) /
        static_cast<double>(std::max<jack_nframes_t>(1, jack_get_sample_rate(client)));
    jack->stallAllowance_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                kStallMargin + 4 * std::chrono::duration<double>(period))
                                .count();
    jack_on_info_shutdown(client, &JackMidiClient::OnShutdown, jack.get());
    if (jack_set_process_callback(client, &JackMidiClient::OnProcess, jack.get()) != 0 ||
        jack_activate(client) != 0)
        return nullptr;
    return jack;
}

// Called on a thread of JACK's own; the client is not used from here.
void JackMidiClient::OnShutdown(jack_status_t /*code*/, const char* /*reason*/, void* self) {
    static_cast<JackMidiClient*>(self)->gone_.store(true, std::memory_order_release);
}

std::string JackMidiClient::Name() const {
    return jack_get_client_name(client_);
}

JackMidiClient::~JackMidiClient() {
    // A client the server has thrown out is only closed: there is nothing left to deactivate.
    if (!ServerGone()) jack_deactivate(client_);
    jack_client_close(client_);
    for (Slot& slot : slots_) jack_ringbuffer_free(slot.ring);
}

int JackMidiClient::OnProcess(jack_nframes_t frames, void* self) {
    auto& jack = *static_cast<JackMidiClient*>(self);
    for (Slot& slot : jack.slots_) {
        jack_port_t* port = slot.port.load(std::memory_order_acquire);
        if (port == nullptr) continue;
        if (slot.flow == PortFlow::Output) {
            void* buffer = jack_port_get_buffer(port, frames);
            jack_midi_clear_buffer(buffer);
            if (slot.flowing.load(std::memory_order_acquire)) MoveOut(slot, buffer);
        } else {
            MoveIn(slot, jack_port_get_buffer(port, frames));
        }
    }
    const std::int64_t now = Ticks(std::chrono::steady_clock::now());
    const std::int64_t last = jack.lastCycle_.exchange(now, std::memory_order_acq_rel);
    const std::int64_t longest = std::chrono::steady_clock::duration(kLongestStall).count();
    if (last != 0 && now - last > jack.stallAllowance_)
        jack.stalled_.fetch_add(std::min(now - last - jack.stallAllowance_, longest),
                                std::memory_order_acq_rel);
    // Counted at the end: a count that has moved on means the cycle's work on the ports is done.
    jack.cycles_.fetch_add(1, std::memory_order_release);
    return 0;
}

// Messages lie in the ring as their size followed by their bytes; one that does not fit into
// this cycle's buffer waits for the next.
void JackMidiClient::MoveOut(Slot& slot, void* buffer) {
    Size size = 0;
    while (jack_ringbuffer_peek(slot.ring, reinterpret_cast<char*>(&size), sizeof size) ==
               sizeof size &&
           jack_ringbuffer_read_space(slot.ring) >= sizeof size + size) {
        jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, size);
        if (event == nullptr) break;
        jack_ringbuffer_read_advance(slot.ring, sizeof size);
        jack_ringbuffer_read(slot.ring, reinterpret_cast<char*>(event), size);
    }
}

void JackMidiClient::MoveIn(Slot& slot, void* buffer) {
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        const auto size = static_cast<Size>(event.size);
        // A reader that stopped reading loses what does not fit, never the cycle.
        if (jack_ringbuffer_write_space(slot.ring) < sizeof size + size) continue;
        jack_ringbuffer_write(slot.ring, reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(slot.ring, reinterpret_cast<const char*>(event.buffer), size);
    }
}

std::vector<std::string> JackMidiClient::OtherPorts(PortFlow flowOfOurs) const {
    // Our output goes to ports that take input, and the other way round.
    const unsigned long flags = flowOfOurs == PortFlow::Output ? JackPortIsInput : JackPortIsOutput;
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (ports == nullptr) return names;
    for (const char** name = ports; *name != nullptr; ++name) {
        const jack_port_t* port = jack_port_by_name(client_, *name);
        if (port != nullptr && jack_port_is_mine(client_, port) == 0) names.emplace_back(*name);
    }
    jack_free(ports);
    return names;
}

std::optional<JackMidiClient::Port> JackMidiClient::Reserve(PortFlow flow) {
    for (Slot& slot : slots_) {
        bool expected = false;
        if (!slot.reserved.compare_exchange_strong(expected, true, std::memory_order_acq_rel))
            continue;
        // A slot reserved before keeps its port and its direction.
        if (slot.port.load(std::memory_order_acquire) != nullptr && slot.flow != flow) {
            slot.reserved.store(false, std::memory_order_release);
            continue;
        }
        slot.flow = flow;
        return static_cast<Port>(&slot - slots_.data());
    }
    return std::nullopt;
}

midi::BackendStatus JackMidiClient::Register(Port port, const std::string& shortName) {
    Slot* slot = Find(port);
    if (slot == nullptr) return {midi::MMSYSERR_INVALHANDLE, ""};
    if (slot->port.load(std::memory_order_acquire) != nullptr) return {};
    const unsigned long flags = slot->flow == PortFlow::Output ? JackPortIsOutput : JackPortIsInput;
    for (int n = 1; n <= kMaxPorts + 1; ++n) {
        const std::string name = n == 1 ? shortName : shortName + "-" + std::to_string(n);
        if (jack_port_by_name(client_, (Name() + ":" + name).c_str()) != nullptr) continue;
        jack_port_t* made =
            jack_port_register(client_, name.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0);
        if (made == nullptr)
            return JackFailure(midi::MMSYSERR_NOMEM, "could not make a port " + name);
        slot->port.store(made, std::memory_order_release);
        return {};
    }
    return {midi::MMSYSERR_ALLOCATED, "JACK: no free name for a port " + shortName};
}

void JackMidiClient::SetFlowing(Port port, bool flowing) {
    if (Slot* slot = Find(port)) slot->flowing.store(flowing, std::memory_order_release);
}

void JackMidiClient::Discard(Port port) {
    if (Slot* slot = Find(port))
        jack_ringbuffer_read_advance(slot->ring, jack_ringbuffer_read_space(slot->ring));
}

JackMidiClient::Slot* JackMidiClient::Find(Port port) {
    if (port < 0 || port >= kMaxPorts || !slots_[port].reserved.load(std::memory_order_acquire))
        return nullptr;
    return &slots_[port];
}

std::string JackMidiClient::FullName(Port port) const {
    return jack_port_name(slots_.at(port).port.load(std::memory_order_relaxed));
}

bool JackMidiClient::ConnectionShows(Port port, const std::string& other) const {
    return jack_port_connected_to(slots_.at(port).port.load(std::memory_order_relaxed),
                                  other.c_str()) == 1;
}

midi::BackendStatus JackMidiClient::Connect(Port port, const std::string& other,
                                            std::chrono::milliseconds limit) {
    Slot* slot = Find(port);
    if (slot == nullptr || slot->port.load(std::memory_order_acquire) == nullptr)
        return {midi::MMSYSERR_INVALHANDLE, ""};
    const std::string ours = FullName(port);
    const std::string& source = slot->flow == PortFlow::Output ? ours : other;
    const std::string& destination = slot->flow == PortFlow::Output ? other : ours;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    midi::BackendStatus failure = {midi::MMSYSERR_ERROR, "JACK: could not connect to " + other};
    (void)TakeJackComplaint();
    // JACK makes a connection part of the graph only at the start of a later cycle, and a client
    // asking before then may see the graph without it; on a loaded machine that cycle can come
    // late. A request can also fail or time out in the server. So: ask, watch the graph for a
    // while, and ask again, until the graph shows the connection or the time is up. The graph
    // is never asked first: JACK gives a new port the number of one removed just before, and a
    // graph not yet updated shows the old port's connections as the new one's.
    for (;;) {
        if (ServerGone()) return {midi::MMSYSERR_NODRIVER, "JACK: the server has stopped"};
        const int asked = jack_connect(client_, source.c_str(), destination.c_str());
        if (asked == 0 || asked == EEXIST) {
            const auto watchEnd =
                std::min(deadline, std::chrono::steady_clock::now() + kGraphWatch);
            for (;;) {
                if (ConnectionShows(port, other)) return {};
                if (std::chrono::steady_clock::now() >= watchEnd) break;
                std::this_thread::sleep_for(1ms);
            }
        } else {
            if (jack_port_by_name(client_, other.c_str()) == nullptr)
                return {midi::MMSYSERR_BADDEVICEID, "JACK: " + other + " is no longer there"};
            failure = JackFailure(midi::MMSYSERR_ERROR, "could not connect to " + other);
            std::this_thread::sleep_for(kRetryPause);
        }
        if (std::chrono::steady_clock::now() >= deadline) return failure;
    }
}

midi::BackendStatus JackMidiClient::Disconnect(Port port, const std::string& other) {
    Slot* slot = Find(port);
    if (slot == nullptr || slot->port.load(std::memory_order_acquire) == nullptr)
        return {midi::MMSYSERR_INVALHANDLE, ""};
    const std::string ours = FullName(port);
    const bool out = slot->flow == PortFlow::Output;
    (void)TakeJackComplaint();
    if (jack_disconnect(client_, (out ? ours : other).c_str(), (out ? other : ours).c_str()) != 0 &&
        ConnectionShows(port, other))
        return JackFailure(midi::MMSYSERR_ERROR, "could not disconnect from " + other);
    return {};
}

midi::BackendStatus JackMidiClient::Send(Port port, std::span<const std::uint8_t> message) {
    Slot* slot = Find(port);
    if (slot == nullptr || slot->flow != PortFlow::Output) return {midi::MMSYSERR_INVALHANDLE, ""};
    const auto size = static_cast<Size>(message.size());
    if (jack_ringbuffer_write_space(slot->ring) < sizeof size + size)
        return {midi::MIDIERR_NOTREADY, "JACK: the server has not taken what was sent before"};
    // The size goes in last-but-one and the bytes last: the callback takes a message only once
    // all of its bytes are in.
    jack_ringbuffer_write(slot->ring, reinterpret_cast<const char*>(&size), sizeof size);
    jack_ringbuffer_write(slot->ring, reinterpret_cast<const char*>(message.data()), size);
    return {};
}

midi::BackendStatus JackMidiClient::Drain(Port port, std::chrono::milliseconds limit) {
    Slot* slot = Find(port);
    if (slot == nullptr) return {midi::MMSYSERR_INVALHANDLE, ""};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (jack_ringbuffer_read_space(slot->ring) > 0) {
        if (ServerGone()) return {midi::MMSYSERR_NODRIVER, "JACK: the server has stopped"};
        if (std::chrono::steady_clock::now() >= deadline)
            return {midi::MIDIERR_STILLPLAYING,
                    "JACK: the server ran no process cycle to send the last message"};
        std::this_thread::sleep_for(1ms);
    }
    // The cycle that took the last bytes passes them on before it ends; the count moves on
    // after that, and a cycle under way now may be that cycle.
    switch (WaitPast(Cycles(), 2, limit)) {
        case CycleWait::Passed:
            return {};
        case CycleWait::TimedOut:
            return {midi::MIDIERR_STILLPLAYING,
                    "JACK: the server ran no process cycle to send the last message"};
        case CycleWait::ServerGone:
            break;
    }
    return {midi::MMSYSERR_NODRIVER, "JACK: the server has stopped"};
}

std::vector<std::vector<std::uint8_t>> JackMidiClient::Received(Port port) {
    std::vector<std::vector<std::uint8_t>> messages;
    Slot* slot = Find(port);
    if (slot == nullptr || slot->flow != PortFlow::Input) return messages;
    Size size = 0;
    while (jack_ringbuffer_peek(slot->ring, reinterpret_cast<char*>(&size), sizeof size) ==
               sizeof size &&
           jack_ringbuffer_read_space(slot->ring) >= sizeof size + size) {
        jack_ringbuffer_read_advance(slot->ring, sizeof size);
        std::vector<std::uint8_t> message(size);
        jack_ringbuffer_read(slot->ring, reinterpret_cast<char*>(message.data()), size);
        messages.push_back(std::move(message));
    }
    return messages;
}

std::chrono::steady_clock::duration JackMidiClient::Stalled(
    std::chrono::steady_clock::time_point now) const {
    const std::int64_t last = lastCycle_.load(std::memory_order_acquire);
    std::int64_t stalled = stalled_.load(std::memory_order_acquire);
    const std::int64_t longest = std::chrono::steady_clock::duration(kLongestStall).count();
    if (last != 0 && !ServerGone() && Ticks(now) - last > stallAllowance_)
        stalled += std::min(Ticks(now) - last - stallAllowance_, longest);
    return std::chrono::steady_clock::duration(stalled);
}

CycleWait JackMidiClient::WaitPast(std::uint64_t from, std::uint64_t cycles,
                                   std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Cycles() < from + cycles) {
        if (ServerGone()) return CycleWait::ServerGone;
        if (std::chrono::steady_clock::now() >= deadline) return CycleWait::TimedOut;
        std::this_thread::sleep_for(1ms);
    }
    return CycleWait::Passed;
}

}  // namespace voxtane::devices
