#include "midi/rtmidi_connection.h"

#include <chrono>

namespace voxtane::midi {

namespace {
// One cycle runs a few milliseconds; a server that runs none for this long has stopped.
constexpr std::chrono::milliseconds kDrainLimit{1000};
// The cycle that takes the message, and one more for a cycle already under way at the send.
constexpr std::uint64_t kCyclesToDrain = 3;
}  // namespace

BackendStatus RtMidiConnection::Send(std::span<const std::uint8_t> message) {
    BackendStatus status = output_.Send(message);
    if (status.code == MMSYSERR_NOERROR && cycles_ != nullptr) {
        sent_ = true;
        cycleAfterLastSend_ = cycles_->Count();
    }
    return status;
}

BackendStatus RtMidiConnection::Close() {
    // JACK sends from its process cycle out of RtMidi's ringbuffer: closing before the cycle
    // has taken the bytes would lose a message sent just before the close, and on the lasting
    // port it would go out later, to whatever is connected by then.
    BackendStatus status;
    if (sent_ &&
        cycles_->WaitPast(cycleAfterLastSend_, kCyclesToDrain, kDrainLimit) == CycleWait::TimedOut)
        status = {MIDIERR_STILLPLAYING,
                  "JACK: the server ran no process cycle to send the last message"};
    if (leased_) {
        BackendStatus closed = leased_->ClosePort();
        pool_->push_back(std::move(leased_));
        if (status.code == MMSYSERR_NOERROR) status = std::move(closed);
    }
    return status;
}

}  // namespace voxtane::midi
