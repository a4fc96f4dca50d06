#include "devices/rtmidi_connection.h"

namespace voxtane::devices {

midi::BackendStatus RtMidiConnection::Close() {
    if (!leased_) return {};
    midi::BackendStatus closed = leased_->ClosePort();
    pool_->push_back(std::move(leased_));
    return closed;
}

}  // namespace voxtane::devices
