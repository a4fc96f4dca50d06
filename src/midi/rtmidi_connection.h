#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "midi/jack_cycles.h"
#include "midi/midi_backend.h"
#include "midi/rtmidi_output.h"

namespace voxtane::midi {

// Clients kept for connecting to devices: making a client for every operation would take time
// and, should the MIDI system be busy, fail.
using OutputPool = std::vector<std::unique_ptr<RtMidiOutput>>;

// An open output through RtMidi: a client connected to one device, or the program's lasting
// default port, which closing leaves in place.
class RtMidiConnection : public OutputConnection {
  public:
    // A connection over a client taken from `pool`; the close gives it back there.
    RtMidiConnection(std::unique_ptr<RtMidiOutput> leased, OutputPool& pool,
                     const JackCycles* cycles)
        : leased_(std::move(leased)), pool_(&pool), output_(*leased_), cycles_(cycles) {}
    // A connection over a port that stays open after the close.
    RtMidiConnection(RtMidiOutput& lasting, const JackCycles* cycles)
        : pool_(nullptr), output_(lasting), cycles_(cycles) {}

    [[nodiscard]] BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    [[nodiscard]] BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return Send(message);
    }
    [[nodiscard]] BackendStatus Close() override;

  private:
    [[nodiscard]] BackendStatus Send(std::span<const std::uint8_t> message);

    std::unique_ptr<RtMidiOutput> leased_;
    OutputPool* pool_;
    RtMidiOutput& output_;
    const JackCycles* cycles_;  // JACK only: its sends wait for the process cycle
    bool sent_ = false;
    std::uint64_t cycleAfterLastSend_ = 0;
};

}  // namespace voxtane::midi
