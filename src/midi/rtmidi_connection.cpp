#include "midi/rtmidi_connection.h"

namespace voxtane::midi {

BackendStatus RtMidiConnection::Close() {
    if (!leased_) return {};
    BackendStatus closed = leased_->ClosePort();
    pool_->push_back(std::move(leased_));
    return closed;
}

}  // namespace voxtane::midi
