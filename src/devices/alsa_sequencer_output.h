#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devices/alsa_events.h"
#include "midi/midi_backend.h"

namespace voxtane::devices {

// A sequencer client of the program's own with one output port. Every piece handed to Send
// leaves at once as whole events (see AlsaEventBuilder), directly, without a queue: by the time
// Send returns, the sequencer has passed the bytes on to what the port is connected to.
class AlsaSequencerOutput {
  public:
    struct Created {
        midi::BackendStatus status;
        std::unique_ptr<AlsaSequencerOutput> output;  // set exactly when status has no error
    };
    [[nodiscard]] static Created Create(const std::string& clientName, const std::string& portName);
    ~AlsaSequencerOutput();
    AlsaSequencerOutput(const AlsaSequencerOutput&) = delete;
    AlsaSequencerOutput& operator=(const AlsaSequencerOutput&) = delete;

    // Connects the port to a port of the sequencer, given as "client:port" (what ends the port
    // names the device list shows).
    [[nodiscard]] midi::BackendStatus ConnectTo(const std::string& address);
    // Undoes ConnectTo; nothing when not connected.
    [[nodiscard]] midi::BackendStatus Disconnect();
    // To every port connected to this one.
    [[nodiscard]] midi::BackendStatus Send(std::span<const std::uint8_t> piece);

  private:
    AlsaSequencerOutput() = default;
    [[nodiscard]] static midi::BackendStatus Failure(const std::string& what, int error);

    snd_seq_t* sequencer_ = nullptr;
    int port_ = -1;
    std::optional<snd_seq_addr_t> connected_;
    AlsaEventBuilder builder_;
};

// Clients kept for connecting to devices: making a client for every operation would take time
// and, should the sequencer be busy, fail.
using AlsaOutputPool = std::vector<std::unique_ptr<AlsaSequencerOutput>>;

// An open output through the sequencer: a client connected to one device, or the program's
// lasting port, which closing leaves in place. Events leave as they are sent, so nothing waits
// at the close.
class AlsaConnection : public midi::OutputConnection {
  public:
    // A connection over a client taken from `pool`; the close gives it back there.
    AlsaConnection(std::unique_ptr<AlsaSequencerOutput> leased, AlsaOutputPool& pool)
        : leased_(std::move(leased)), pool_(&pool), output_(*leased_) {}
    // A connection over a port that stays open after the close.
    explicit AlsaConnection(AlsaSequencerOutput& lasting) : pool_(nullptr), output_(lasting) {}

    [[nodiscard]] midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return output_.Send(message);
    }
    [[nodiscard]] midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return output_.Send(message);
    }
    [[nodiscard]] midi::BackendStatus Close() override;

  private:
    std::unique_ptr<AlsaSequencerOutput> leased_;
    AlsaOutputPool* pool_;
    AlsaSequencerOutput& output_;
};

}  // namespace voxtane::devices
