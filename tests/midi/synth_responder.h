#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "midi/synth_memory.h"
#include "tone/tone_record.h"

// The synth's side of the tone exchange, byte by byte, without any MIDI system: what a test's
// simulated synth answers to what it receives. Requests may come in one message (request and
// go-ahead together; a tone write whole) or step by step, waiting for each acknowledgement:
// as a byte stream the two are the same, only the timing differs.
namespace voxtane::testing {

enum class SynthFault {
    None,
    Silent,                    // takes nothing, answers nothing (memory protect, MIDI settings)
    StopAfterAcknowledgement,  // acknowledges a request, then sends and takes nothing more
    ShortAnswer,               // sends only shortDataBytes of a tone, then F7
    WholeRequestsOnly,         // answers a fetch only once its request has come with its F7
};

// How the synth confirms a stored tone after the acknowledgement F0 44 00 00 7n 30.
enum class SynthConfirmation {
    Close,           // F7
    GoAheadClose,    // 7n 31 F7
    GoAheadMessage,  // F7, then F0 44 00 00 7n 31 F7
};

struct SynthBehaviour {
    int channel = 1;  // requests on other channels are ignored
    SynthFault fault = SynthFault::None;
    int shortDataBytes = 120;
    SynthConfirmation confirmation = SynthConfirmation::Close;
};

class SynthResponder {
  public:
    SynthResponder();

    void SetBehaviour(const SynthBehaviour& behaviour) { behaviour_ = behaviour; }
    // Takes one byte from the computer and appends the synth's answer to it, if any.
    void Feed(std::uint8_t byte, std::vector<std::uint8_t>& answer);

    void Store(midi::SynthMemory memory, const ToneRecord& tone);
    [[nodiscard]] const ToneRecord& Stored(midi::SynthMemory memory) const;

  private:
    enum class Step {
        Idle,
        Header,          // after F0, matching 44 00 00 7n
        Command,         // 10 or 20
        Position,        // pp
        GoAheadChannel,  // 7n of "7n 31"
        GoAhead,         // 31
        AwaitingWhole,   // the F7 of a whole request, before answering it
        AwaitingClose,   // the computer's F7 after a sent tone
        ReceivingTone,   // data bytes, then F7
    };

    void TakePosition(std::uint8_t position, std::vector<std::uint8_t>& answer);
    void Acknowledge(std::vector<std::uint8_t>& answer) const;
    void SendTone(std::vector<std::uint8_t>& answer);
    void TakeToneByte(std::uint8_t byte, std::vector<std::uint8_t>& answer);
    [[nodiscard]] std::size_t IndexOf(midi::SynthMemory memory) const;

    SynthBehaviour behaviour_;
    // Presets, internal, cartridge (16 each), then the temporary area.
    std::array<ToneRecord, 49> memories_{};
    Step step_ = Step::Idle;
    int matched_ = 0;
    bool sending_ = false;  // the request asks the synth to send; otherwise to take a tone
    std::optional<midi::SynthMemory> memory_;
    std::vector<std::uint8_t> incoming_;
};

}  // namespace voxtane::testing
