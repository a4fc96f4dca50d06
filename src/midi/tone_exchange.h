#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "bank/sysex_bank_writer.h"
#include "midi/answer_assembler.h"
#include "midi/clock.h"
#include "midi/exchange_result.h"
#include "midi/message_sink.h"
#include "midi/synth_memory.h"
#include "tone/tone_record.h"

// Fetching one tone from the synth or writing one into its memory, as a state machine that is
// driven from outside: the caller feeds it what arrives at the MIDI input (Receive) and the
// passing of time (Tick), and it hands what it sends to a MessageSink. It has no device, thread
// or clock of its own, so an event loop, a command-line loop and a test with a made-up clock
// all drive it alike.
namespace voxtane::midi {

struct ExchangeTiming {
    // How long each answer may take: the acknowledgement after the request, then the rest of
    // the answer after the acknowledgement. A whole fetch answer takes 84 ms at 31,250 baud.
    Clock::Duration answerTimeout = std::chrono::seconds{1};
    // The silence on the input that a request waits for after an exchange that did not end
    // cleanly (see ToneExchange), and how long it waits for it at most.
    Clock::Duration quietSpell = std::chrono::milliseconds{300};
    Clock::Duration quietLimit = std::chrono::seconds{5};
    // The time a write with nothing to confirm it is given before the next message may follow:
    // the 264 bytes take 85 ms on the wire, and the synth stores the tone after them.
    Clock::Duration unconfirmedPause = std::chrono::milliseconds{250};
};

enum class StartOutcome {
    Started,
    Busy,              // an exchange is under way; one runs at a time
    InvalidChannel,    // channels are 1 to 16
    UnsendableTone,    // an entry outside 0 to 127 (see FirstUnsendableEntry)
    InvalidToneCount,  // a bank write takes 1 to 16 tones
};

// Whether the synth's answer to a write can be heard: without a MIDI input from the synth, a
// write is sent and counts as done after ExchangeTiming::unconfirmedPause.
enum class Confirmation { FromSynth, NoInput };

// A late answer must never be taken for the answer to the next request. Answers carry no sign
// of the request they belong to (the acknowledgement names only the channel), so the machine
// keeps them apart by time:
//  - Input is looked at only from the moment a request has been handed to the sink; anything
//    before is dropped, and each request starts with an empty assembler.
//  - After an exchange that did not end cleanly (failed, timed out or cancelled once its
//    request was out), the synth may still be answering. The next request then waits until no
//    byte other than realtime has arrived for quietSpell, dropping whatever arrives meanwhile;
//    if that silence does not come within quietLimit, the request fails unsent.
//  - After a clean end the synth has finished, and the next request goes at once.
//  - A fetch asked again in the other form waits for quiet as after an unclean end.
// Answers are also checked to the byte: the acknowledgement on our channel, exactly 256 data
// bytes for a fetch and none for a write, then F7; so a late fetch answer cannot pass for the
// confirmation of a write either. The caller should feed input as it arrives (within a few
// milliseconds), so that the times given with it are when it came.
//
// All calls come from one thread; the machine holds no lock.
class ToneExchange {
  public:
    using TimePoint = Clock::TimePoint;

    explicit ToneExchange(MessageSink& output, ExchangeTiming timing = {})
        : output_(output), timing_(timing) {}

    // The request goes out from within this call, or, while the input must fall quiet first,
    // from a later Receive or Tick.
    [[nodiscard]] StartOutcome StartFetch(int channel, SynthMemory memory, TimePoint now);
    [[nodiscard]] StartOutcome StartWrite(int channel, SynthMemory memory, const ToneRecord& tone,
                                          Confirmation confirmation, TimePoint now);

    // A tone sent to `memory` by other means has just left in full: waits for the synth to
    // confirm it from `now` on, as a write does after its message.
    [[nodiscard]] StartOutcome AwaitConfirmation(int channel, SynthMemory memory, TimePoint now);

    // Each returns the result when the exchange ends during the call, which leaves the machine
    // idle; nothing otherwise. Bytes come in any pieces; realtime bytes are ignored.
    [[nodiscard]] std::optional<ExchangeResult> Receive(std::span<const std::uint8_t> bytes,
                                                        TimePoint now);
    [[nodiscard]] std::optional<ExchangeResult> Tick(TimePoint now);
    // Ends the exchange under way with a Cancelled result; nothing when idle.
    [[nodiscard]] std::optional<ExchangeResult> Cancel(TimePoint now);

    // The form a fetch asks in first (see FetchForm). A fetch with no answer at all asks once
    // more in the other form; when the synth answers that one, it becomes the preferred form.
    void PreferFetchForm(FetchForm form) { fetchForm_ = form; }
    [[nodiscard]] FetchForm PreferredFetchForm() const { return fetchForm_; }

    [[nodiscard]] bool Busy() const { return step_ != Step::Idle; }
    // When Tick next has something to do; nothing when idle. Ticking more often does no harm.
    [[nodiscard]] std::optional<TimePoint> NextDeadline() const;

  private:
    enum class Step {
        Idle,
        AwaitingQuiet,
        AwaitingAcknowledgement,
        AwaitingRest,
        Settling,
        SendFailed,  // ends at the next Tick, with the reason below
    };

    struct Request {
        ExchangeKind kind;
        int channel;
        SynthMemory memory;
        Confirmation confirmation;
        ToneDump tone;  // the whole write message, for a write
        FetchForm form = FetchForm::Open;
        bool retried = false;  // a fetch asking again in the other form
    };

    [[nodiscard]] StartOutcome Start(const Request& request, TimePoint now);
    [[nodiscard]] std::optional<ExchangeResult> Advance(TimePoint now);
    [[nodiscard]] TimePoint QuietFrom() const;
    void SendWhenQuiet(TimePoint now);
    void SendRequest(TimePoint now);
    [[nodiscard]] SinkStatus SendFetch(const Request& request);
    void AskAgainInOtherForm(TimePoint now);
    [[nodiscard]] std::optional<ExchangeResult> Take(Assembly assembly, TimePoint now);
    [[nodiscard]] ExchangeResult Finish(ExchangeOutcome outcome, TimePoint now);

    MessageSink& output_;
    ExchangeTiming timing_;
    Step step_ = Step::Idle;
    std::optional<Request> request_;
    std::optional<AnswerAssembler> answer_;
    TimePoint deadline_{};
    // For the quiet rule: whether the next request must wait, since when, and the last input.
    bool mustWaitForQuiet_ = false;
    TimePoint uncleanEnd_{};
    TimePoint lastInput_{};
    std::string sendFailure_;
    bool requestSent_ = false;
    std::vector<std::uint8_t> received_;
    FetchForm fetchForm_ = FetchForm::Open;
};

}  // namespace voxtane::midi
