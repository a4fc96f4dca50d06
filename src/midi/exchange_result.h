#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "midi/synth_memory.h"
#include "tone/tone_record.h"

// How one exchange of a tone with the synth ended.
namespace voxtane::midi {

enum class ExchangeKind { Fetch, Write };

enum class ExchangeOutcome {
    Fetched,          // the tone came whole
    Written,          // the synth confirmed the write
    SentUnconfirmed,  // the write went out with no MIDI input to confirm it
    NoAnswer,         // nothing from the synth after the request
    StoppedAfterAcknowledgement,
    ShortAnswer,       // the data ended, or stopped coming, before the 256th byte
    UnexpectedAnswer,  // bytes after the acknowledgement that the answer cannot hold
    InputNeverQuiet,   // the request was not sent: other traffic never stopped
    SendFailed,        // the MIDI output did not take the request
    Cancelled,
};

struct ExchangeResult {
    ExchangeKind kind;
    SynthMemory memory;
    ExchangeOutcome outcome;
    int dataBytes = 0;               // data bytes of the answer, for a fetch that got that far
    std::optional<ToneRecord> tone;  // exactly when Fetched
    std::string reason;              // the MIDI system's words, when SendFailed
    // Whether the request (or the tone of a write) went out: a write that went out may have
    // been stored even when it was not confirmed.
    bool requestSent = false;
    // What came from the synth after the request, realtime bytes aside (the first kKeptBytes).
    std::vector<std::uint8_t> received;
    static constexpr std::size_t kKeptBytes = 64;

    [[nodiscard]] bool Succeeded() const;
    // What happened, with the step and the memory in words: "no answer from the synth to the
    // request for internal memory 3". A write that was not confirmed says what came instead.
    [[nodiscard]] std::string Describe() const;

  private:
    [[nodiscard]] std::string DescribeOutcome() const;
};

}  // namespace voxtane::midi
