#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace voxtane::testing {

// A JACK client with one MIDI input port that keeps every event it receives, whole, in order.
// Its process callback only copies events into a lock-free ringbuffer; the test reads them out.
class JackMidiSink {
  public:
    using Message = std::vector<std::uint8_t>;

    [[nodiscard]] static std::unique_ptr<JackMidiSink> Open(const std::string& clientName);
    ~JackMidiSink();
    JackMidiSink(const JackMidiSink&) = delete;
    JackMidiSink& operator=(const JackMidiSink&) = delete;

    // The full name of the input port, "client:in".
    [[nodiscard]] std::string PortName() const;
    // Every message received so far, once `count` have arrived or `limit` has passed.
    [[nodiscard]] std::vector<Message> WaitFor(std::size_t count, std::chrono::milliseconds limit);
    [[nodiscard]] bool PortExists(const std::string& name) const;
    // Connects `source` to the input and returns once the connection carries messages.
    [[nodiscard]] bool ConnectFrom(const std::string& source);

  private:
    JackMidiSink() = default;
    static int OnProcess(jack_nframes_t frames, void* self);
    void Drain();

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
    std::atomic<std::uint64_t> cycles_{0};
    std::vector<Message> received_;
};

}  // namespace voxtane::testing
