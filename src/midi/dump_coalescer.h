#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "midi/clock.h"
#include "midi/message_sink.h"
#include "tone/tone_record.h"

// "Send While Editing": every edit asks for the tone to go to the synth's temporary area, so
// that the synth plays what the editor shows. A slider drag makes dozens of edits a second,
// far more tone dumps than the wire carries (one takes 85 ms at 31,250 baud); sending each
// would pile them up in the MIDI system and the synth would lag behind the editor by seconds.
// So edits are coalesced: a dump goes out at once when the last left at least `spacing` ago,
// otherwise the newest tone waits, replacing any tone that waited before it, and goes once the
// spacing has passed. With the spacing above a dump's time on the wire, one dump is on its way
// at a time; the last state always reaches the synth; a burst queues at most one dump.
namespace voxtane::midi {

enum class EditDump {
    SentNow,
    Waiting,      // goes on a later Tick
    NotSendable,  // an entry outside 0 to 127; any tone waiting before is dropped too
};

class DumpCoalescer {
  public:
    using TimePoint = Clock::TimePoint;

    // Throws std::out_of_range for a channel outside 1 to 16.
    DumpCoalescer(MessageSink& output, int channel,
                  Clock::Duration spacing = std::chrono::milliseconds{100});

    [[nodiscard]] EditDump Edited(const ToneRecord& tone, TimePoint now);
    // Sends the waiting tone once the spacing has passed.
    void Tick(TimePoint now);
    // Forgets the waiting tone, for a device or channel change or the end of Send While Editing.
    void Drop() { waiting_.reset(); }

    [[nodiscard]] bool Waiting() const { return waiting_.has_value(); }
    // Why the last dump could not be sent, once; nothing when it went out.
    [[nodiscard]] std::optional<std::string> TakeFailure();
    // When a Tick would send the waiting tone; nothing when no tone waits.
    [[nodiscard]] std::optional<TimePoint> NextDeadline() const;

  private:
    [[nodiscard]] bool MaySend(TimePoint now) const;
    void Send(const ToneRecord& tone, TimePoint now);

    MessageSink& output_;
    int channel_;
    Clock::Duration spacing_;
    std::optional<ToneRecord> waiting_;
    std::optional<TimePoint> lastSent_;
    std::optional<std::string> failure_;
};

}  // namespace voxtane::midi
