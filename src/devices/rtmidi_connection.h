#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "devices/rtmidi_output.h"
#include "midi/midi_backend.h"

namespace voxtane::devices {

// Clients kept for connecting to devices: making a client for every operation would take time
// and, should the MIDI system be busy, fail.
using OutputPool = std::vector<std::unique_ptr<RtMidiOutput>>;

// An open output through RtMidi: a client connected to one device, or the program's lasting
// default port, which closing leaves in place. The ALSA sequencer takes each event as it is
// sent, so nothing waits at the close.
class RtMidiConnection : public midi::OutputConnection {
  public:
    // A connection over a client taken from `pool`; the close gives it back there.
    RtMidiConnection(std::unique_ptr<RtMidiOutput> leased, OutputPool& pool)
        : leased_(std::move(leased)), pool_(&pool), output_(*leased_) {}
    // A connection over a port that stays open after the close.
    explicit RtMidiConnection(RtMidiOutput& lasting) : pool_(nullptr), output_(lasting) {}

    [[nodiscard]] midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return output_.Send(message);
    }
    [[nodiscard]] midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return output_.Send(message);
    }
    [[nodiscard]] midi::BackendStatus Close() override;

  private:
    std::unique_ptr<RtMidiOutput> leased_;
    OutputPool* pool_;
    RtMidiOutput& output_;
};

}  // namespace voxtane::devices
