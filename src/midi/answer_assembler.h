#pragma once

#include <cstdint>
#include <vector>

#include "midi/synth_messages.h"

// Picks the synth's answer to one request out of what arrives at the input, byte by byte, in
// whatever pieces the MIDI system delivers it.
namespace voxtane::midi {

enum class Assembly { Invalid, Incomplete, Complete };

// Why an answer was invalid.
enum class AnswerFault {
    None,
    EndedEarly,   // F7 before all the data bytes
    Interrupted,  // another message began before the answer's F7
    TooLong,      // more data bytes than the answer carries
};

// An answer is the acknowledgement F0 44 00 00 7n 30, then the data bytes, then F7: 256 data
// bytes for a fetch, none for a write. A write is also confirmed by the acknowledgement followed
// by 7n 31 F7, or by F0 44 00 00 7n 31 F7 (see GoAheadClose, GoAheadMessage). Until the
// acknowledgement on our channel is complete, everything else is taken for other traffic and
// skipped: other messages joined to the answer, the echo of our own request through a MIDI thru,
// the answer of a synth on another channel. From the acknowledgement on, the answer must be whole;
// only realtime bytes may come between.
class AnswerAssembler {
  public:
    AnswerAssembler(int channel, int dataBytes);

    // Once Complete or Invalid, the status stays and further bytes are not looked at.
    [[nodiscard]] Assembly Feed(std::uint8_t byte);

    [[nodiscard]] bool Acknowledged() const { return phase_ == Phase::Data; }
    [[nodiscard]] int DataCount() const { return static_cast<int>(data_.size()); }
    [[nodiscard]] int ExpectedDataCount() const { return expected_; }
    [[nodiscard]] AnswerFault Fault() const { return fault_; }
    [[nodiscard]] const std::vector<std::uint8_t>& Data() const { return data_; }

  private:
    enum class Phase { Seeking, Header, Data };

    [[nodiscard]] Assembly FeedHeader(std::uint8_t byte);
    [[nodiscard]] Assembly FeedData(std::uint8_t byte);
    [[nodiscard]] Assembly FeedConfirmation(std::uint8_t byte);
    [[nodiscard]] Assembly Fail(AnswerFault fault);

    Acknowledgement header_;
    int expected_;
    Phase phase_ = Phase::Seeking;
    int matched_ = 0;  // header bytes matched so far
    std::vector<std::uint8_t> data_;
    // For a write: the bytes after the acknowledgement, and what they may be.
    std::vector<std::uint8_t> tail_;
    std::vector<std::vector<std::uint8_t>> confirmations_;
    Assembly status_ = Assembly::Incomplete;
    AnswerFault fault_ = AnswerFault::None;
};

}  // namespace voxtane::midi
