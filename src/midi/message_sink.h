#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace voxtane::midi {

// Where the exchange machines hand the messages they want sent to the synth. The bytes are only
// valid during the call; an implementation copies them (into a JACK ringbuffer, a MIDI
// output's buffer, a test's record).
struct [[nodiscard]] SinkStatus {
    bool sent = true;
    std::string reason;  // the MIDI system's words when the message could not be sent
};

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual SinkStatus Send(std::span<const std::uint8_t> message) = 0;
};

}  // namespace voxtane::midi
