#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace voxtane::bench {

// A JACK client with one MIDI input port that notes when each SysEx message has arrived whole:
// its process callback reads the clock when it finds an event ending in F7. That is the moment
// a receiving program has the message's last byte in hand.
class JackTimingSink {
  public:
    using Clock = std::chrono::steady_clock;

    struct Arrival {
        std::uint64_t count = 0;  // SysEx messages received so far
        Clock::time_point at{};   // when the last of them arrived
        std::size_t size = 0;     // its length in bytes
    };

    // Nothing when no JACK server answers.
    [[nodiscard]] static std::unique_ptr<JackTimingSink> Open(const std::string& clientName);
    ~JackTimingSink();
    JackTimingSink(const JackTimingSink&) = delete;
    JackTimingSink& operator=(const JackTimingSink&) = delete;

    // The full name of the input port, "client:in".
    [[nodiscard]] std::string PortName() const;
    // One process cycle of the server: its period in frames over its sample rate.
    [[nodiscard]] jack_nframes_t PeriodFrames() const;
    [[nodiscard]] jack_nframes_t SampleRate() const;
    [[nodiscard]] Arrival Last() const;
    // The arrival after the first `count` messages; count 0 when none came within `limit`.
    [[nodiscard]] Arrival WaitPast(std::uint64_t count, std::chrono::milliseconds limit) const;

  private:
    JackTimingSink() = default;
    static int OnProcess(jack_nframes_t frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::atomic<std::int64_t> lastAt_{0};  // nanoseconds of the steady clock
    std::atomic<std::size_t> lastSize_{0};
    std::atomic<std::uint64_t> count_{0};
};

}  // namespace voxtane::bench
