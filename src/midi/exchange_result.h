#pragma once

#include <optional>
#include <string>

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

    [[nodiscard]] bool Succeeded() const;
    // What happened, with the step and the memory in words: "no answer from the synth to the
    // request for internal memory 3".
    [[nodiscard]] std::string Describe() const;
};

}  // namespace voxtane::midi
