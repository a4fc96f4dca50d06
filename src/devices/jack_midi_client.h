#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/midi_backend.h"

namespace voxtane::devices {

enum class CycleWait { Passed, TimedOut, ServerGone };
enum class PortFlow { Output, Input };

// The program's one client of a JACK server, with MIDI ports of its own that come and go while
// it runs. JACK hands MIDI on only in its process cycle: sends go into a lock-free ringbuffer
// per port that the process callback empties into the port, and what arrives at an input port
// goes the other way. Counting the cycles tells when what was sent has been taken and when a new
// connection is part of the graph.
//
// Every failure comes back as a result with JACK's own reason; the JACK library's printing is
// caught and turned into those reasons (see quiet_libraries.h).
class JackMidiClient {
  public:
    using Port = int;  // a port of this client; ports stay until the client closes

    // Nothing when no JACK server runs here (and nothing is printed then either).
    [[nodiscard]] static std::unique_ptr<JackMidiClient> Start(const std::string& name);
    ~JackMidiClient();
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    // The client's name on the server (JACK adds a number when the name is taken).
    [[nodiscard]] std::string Name() const;
    // Whether the server has stopped or thrown the client out: it then runs no more cycles and
    // takes no more requests, and a new client is needed once a server runs again.
    [[nodiscard]] bool ServerGone() const { return gone_.load(std::memory_order_acquire); }

    // The MIDI ports of other clients: those that take MIDI (the devices to send to) or those
    // that give it (the devices to receive from), in JACK's order, by full name.
    [[nodiscard]] std::vector<std::string> OtherPorts(PortFlow flowOfOurs) const;

    // Takes a port of the client for the caller, without asking the server anything: messages
    // sent to it wait until Register has made it on the server and SetFlowing lets them go.
    // Nothing when every port of the client is taken.
    [[nodiscard]] std::optional<Port> Reserve(PortFlow flow);
    // Makes the reserved port on the server, once; `shortName` is a name within this client,
    // and a name in use gets a number added.
    [[nodiscard]] midi::BackendStatus Register(Port port, const std::string& shortName);
    // Whether an output port's process cycle hands on what was sent; an input always takes in.
    void SetFlowing(Port port, bool flowing);
    // Drops what waits in the port's buffer. Only while no cycle reads it: for an output one
    // that does not flow since a whole cycle, for an input one connected to nothing since then.
    void Discard(Port port);
    // The port's full name, "client:port".
    [[nodiscard]] std::string FullName(Port port) const;
    // Connects the port to (or, for an input, from) the other client's port and returns once
    // the connection is part of the graph the server runs. A request that JACK did not carry
    // out, or whose result the graph does not show yet, is repeated until `limit` has passed;
    // only then does it fail, with the reason JACK gave.
    [[nodiscard]] midi::BackendStatus Connect(Port port, const std::string& other,
                                              std::chrono::milliseconds limit);
    // Takes the connection made by Connect away again; a connection that is not there is not a
    // failure.
    [[nodiscard]] midi::BackendStatus Disconnect(Port port, const std::string& other);
    // Queues one whole message for the port's next process cycle.
    [[nodiscard]] midi::BackendStatus Send(Port port, std::span<const std::uint8_t> message);
    // Returns once everything sent on the port has left it.
    [[nodiscard]] midi::BackendStatus Drain(Port port, std::chrono::milliseconds limit);
    // The messages that arrived at an input port since the last call, whole, in order.
    [[nodiscard]] std::vector<std::vector<std::uint8_t>> Received(Port port);

    [[nodiscard]] std::uint64_t Cycles() const { return cycles_.load(std::memory_order_acquire); }
    // How long, in all since the client started, the server's cycles have stalled: every gap
    // between two cycles beyond a few periods counts, up to kLongestStall each, and so does the
    // gap under way at `now`. In that time nothing can arrive or leave, whatever the far side
    // does. A server that has stopped stalls no more: its time counts.
    [[nodiscard]] std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point now) const;
    static constexpr std::chrono::seconds kLongestStall{10};
    // Sleeps in small steps until `cycles` whole cycles have run after the count `from`, for at
    // most `limit`. A cycle under way when `from` was read does not count as whole, hence the
    // caller asks for one cycle more than it needs.
    [[nodiscard]] CycleWait WaitPast(std::uint64_t from, std::uint64_t cycles,
                                     std::chrono::milliseconds limit) const;

  private:
    static constexpr int kMaxPorts = 16;
    struct Slot {
        std::atomic<bool> reserved{false};
        // Published to the process callback once the port is made; set once.
        std::atomic<jack_port_t*> port{nullptr};
        std::atomic<bool> flowing{false};
        PortFlow flow = PortFlow::Output;  // set with the reservation
        jack_ringbuffer_t* ring = nullptr;
    };

    explicit JackMidiClient(jack_client_t* client) : client_(client) {}
    static int OnProcess(jack_nframes_t frames, void* self);
    static void OnShutdown(jack_status_t code, const char* reason, void* self);
    static void MoveOut(Slot& slot, void* buffer);
    static void MoveIn(Slot& slot, void* buffer);
    [[nodiscard]] bool ConnectionShows(Port port, const std::string& other) const;
    [[nodiscard]] Slot* Find(Port port);

    jack_client_t* client_;
    std::array<Slot, kMaxPorts> slots_;
    std::atomic<std::uint64_t> cycles_{0};
    // Steady-clock ticks: when the last cycle ran, the stalls before it, and the gap between
    // cycles that is no stall.
    std::atomic<std::int64_t> lastCycle_{0};
    std::atomic<std::int64_t> stalled_{0};
    std::int64_t stallAllowance_ = 0;
    std::atomic<bool> gone_{false};
};

}  // namespace voxtane::devices
