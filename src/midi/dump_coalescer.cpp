#include "midi/dump_coalescer.h"

#include <stdexcept>
#include <utility>

#include "midi/synth_messages.h"

namespace voxtane::midi {

DumpCoalescer::DumpCoalescer(MessageSink& output, int channel, Clock::Duration spacing)
    : output_(output), channel_(channel), spacing_(spacing) {
    if (!IsMidiChannel(channel))
        throw std::out_of_range("MIDI channel " + std::to_string(channel) + " (1 to 16)");
}

EditDump DumpCoalescer::Edited(const ToneRecord& tone, TimePoint now) {
    if (FirstUnsendableEntry(tone)) {
        // An older tone sent after this edit would put the synth behind the editor.
        waiting_.reset();
        return EditDump::NotSendable;
    }
    if (MaySend(now)) {
        waiting_.reset();
        Send(tone, now);
        return EditDump::SentNow;
    }
    waiting_ = tone;
    return EditDump::Waiting;
}

void DumpCoalescer::Tick(TimePoint now) {
    if (!waiting_ || !MaySend(now)) return;
    const ToneRecord tone = *waiting_;
    waiting_.reset();
    Send(tone, now);
}

std::optional<DumpCoalescer::TimePoint> DumpCoalescer::NextDeadline() const {
    if (!waiting_) return std::nullopt;
    return lastSent_ ? *lastSent_ + spacing_ : TimePoint{};
}

bool DumpCoalescer::MaySend(TimePoint now) const {
    return !lastSent_ || now - *lastSent_ >= spacing_;
}

void DumpCoalescer::Send(const ToneRecord& tone, TimePoint now) {
    const SinkStatus sent = output_.Send(BuildToneWrite(channel_, SynthMemory::Current(), tone));
    failure_ = sent.sent ? std::nullopt : std::optional<std::string>(sent.reason);
    lastSent_ = now;
}

std::optional<std::string> DumpCoalescer::TakeFailure() {
    return std::exchange(failure_, std::nullopt);
}

}  // namespace voxtane::midi
