#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace voxtane::midi {

enum class CycleWait { Passed, TimedOut };
enum class Connection { Made, Missing };

// A JACK client of our own that counts the server's process cycles. JACK hands MIDI on only in
// its process cycle, from a ringbuffer filled by the sender: counting cycles tells when what was
// sent has been taken, and when a new connection is part of the graph the cycle runs.
class JackCycles {
  public:
    // Nothing when no JACK server runs here (nothing is printed then either).
    [[nodiscard]] static std::unique_ptr<JackCycles> Start(const std::string& clientName);
    ~JackCycles();
    JackCycles(const JackCycles&) = delete;
    JackCycles& operator=(const JackCycles&) = delete;

    [[nodiscard]] std::uint64_t Count() const { return cycles_.load(std::memory_order_acquire); }
    // Sleeps in small steps until `cycles` whole cycles have run after the count `from`, for at
    // most `limit`. A cycle under way when `from` was read does not count as whole, hence the
    // caller asks for one cycle more than it needs.
    [[nodiscard]] CycleWait WaitPast(std::uint64_t from, std::uint64_t cycles,
                                     std::chrono::milliseconds limit) const;
    // Whether some port of a client whose name begins with `sourceClient` is connected to the
    // port `destination`.
    [[nodiscard]] Connection ConnectedFrom(const std::string& sourceClient,
                                           const std::string& destination) const;

  private:
    explicit JackCycles(jack_client_t* client) : client_(client) {}
    static int OnProcess(jack_nframes_t frames, void* self);

    jack_client_t* client_;
    std::atomic<std::uint64_t> cycles_{0};
};

}  // namespace voxtane::midi
