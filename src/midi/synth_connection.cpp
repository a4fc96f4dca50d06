#include "midi/synth_connection.h"

#include <algorithm>

#include "bank/synth_protocol.h"

namespace voxtane::midi {

SynthConnection::Opened SynthConnection::Open(MidiBackend& backend,
                                              std::optional<std::int32_t> output,
                                              const std::string& input) {
    std::unique_ptr<InputConnection> in;
    if (!input.empty()) {
        OpenedInput opened = backend.OpenInput(input);
        if (!opened.connection) return {std::move(opened.status), input, nullptr};
        in = std::move(opened.connection);
    }
    if (!output)
        return {
            {}, {}, std::unique_ptr<SynthConnection>(new SynthConnection(nullptr, std::move(in)))};
    const std::int32_t deviceId = *output;
    OpenedOutput out;
    if (deviceId == MIDI_MAPPER) {
        out = backend.OpenDefault();
    } else if (deviceId < 0) {
        out = {{MMSYSERR_BADDEVICEID, ""}, nullptr};
    } else {
        out = backend.Open(static_cast<std::size_t>(deviceId));
    }
    if (!out.connection) {
        if (in) (void)in->Close();
        // Only the name: a whole DeviceName made in either branch of a conditional is taken
        // for uninitialised by GCC 12 at -O3 (the Windows build's Release).
        std::string name = deviceId >= 0 ? backend.NameOf(static_cast<std::size_t>(deviceId)).name
                                         : std::string("the default output");
        return {std::move(out.status), std::move(name), nullptr};
    }
    return {{},
            {},
            std::unique_ptr<SynthConnection>(
                new SynthConnection(std::move(out.connection), std::move(in)))};
}

SynthConnection::~SynthConnection() {
    (void)Close();
}

SinkStatus SynthConnection::Send(std::span<const std::uint8_t> message) {
    if (!output_) return {false, "the output is closed"};
    const bool sysex = !message.empty() && message.front() == kSysexStart;
    const BackendStatus status =
        sysex || message.size() > 3 ? output_->SendLong(message) : output_->SendShort(message);
    return {status.code == MMSYSERR_NOERROR, status.reason};
}

std::vector<std::vector<std::uint8_t>> SynthConnection::Received() {
    if (!input_) return {};
    return input_->Received();
}

std::chrono::steady_clock::time_point SynthConnection::Time(
    std::chrono::steady_clock::time_point now) {
    std::chrono::steady_clock::duration stalled{};
    if (input_) stalled = input_->Stalled(now);
    if (output_) stalled = std::max(stalled, output_->Stalled(now));
    lastTime_ = std::max(lastTime_, now - stalled);
    return lastTime_;
}

BackendStatus SynthConnection::Close() {
    BackendStatus status;
    if (input_) status = input_->Close();
    if (output_) {
        BackendStatus closed = output_->Close();
        if (status.code == MMSYSERR_NOERROR) status = std::move(closed);
    }
    input_.reset();
    output_.reset();
    return status;
}

}  // namespace voxtane::midi
