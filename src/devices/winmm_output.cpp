#include "devices/winmm_output.h"

#include <algorithm>

#include "devices/winmm_status.h"
#include "midi/midi_bytes.h"
#include "midi/synth_messages.h"

namespace voxtane::devices {

midi::OpenedOutput WinMmOutput::Open(std::shared_ptr<WinMmApi> api, std::uint32_t device,
                                     WinMmOutputLimits limits) {
    std::unique_ptr<WinMmOutput> output(new WinMmOutput(std::move(api), limits));
    // Closed already: nothing to undo should the open fail.
    output->closed_ = true;
    const WinMmResult opened = output->api_->OutOpen(output->handle_, device, *output);
    if (opened != midi::MMSYSERR_NOERROR)
        return {WinMmStatus(*output->api_, opened, "midiOutOpen"), nullptr};
    output->closed_ = false;
    return {{}, std::move(output)};
}

WinMmOutput::~WinMmOutput() {
    (void)Close();
}

void WinMmOutput::OnMessage(WinMmMessage message, std::uintptr_t param1, std::uintptr_t) {
    if (message != WinMmMessage::OutDone) return;
    const auto* header = reinterpret_cast<const WinMmHeader*>(param1);
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(sent_.begin(), sent_.end(),
                                    [&](const auto& buffer) { return &buffer->header == header; });
    if (found == sent_.end()) return;
    done_.push_back(std::move(*found));
    sent_.erase(found);
    returned_.notify_all();
}

midi::BackendStatus WinMmOutput::Reclaim() {
    Buffers done;
    {
        const std::lock_guard lock(mutex_);
        done.swap(done_);
    }
    midi::BackendStatus status;
    for (auto& buffer : done) {
        const WinMmResult unprepared = api_->OutUnprepare(handle_, buffer->header);
        if (unprepared == midi::MMSYSERR_NOERROR) {
            spare_.push_back(std::move(buffer));
            continue;
        }
        if (status.code == midi::MMSYSERR_NOERROR)
            status = WinMmStatus(*api_, unprepared, "midiOutUnprepareHeader");
        KeepForever(std::move(buffer));
    }
    return status;
}

bool WinMmOutput::Drained() {
    std::unique_lock lock(mutex_);
    return returned_.wait_for(lock, limits_.drain, [&] { return sent_.empty(); });
}

midi::BackendStatus WinMmOutput::SendLong(std::span<const std::uint8_t> message) {
    if (closed_) return {midi::MMSYSERR_INVALHANDLE, "WinMM: the output is closed"};
    if (message.empty()) return {midi::MMSYSERR_INVALPARAM, "WinMM: the message is empty"};
    if (midi::BackendStatus reclaimed = Reclaim(); reclaimed.code != midi::MMSYSERR_NOERROR)
        return reclaimed;

    std::unique_ptr<Buffer> buffer;
    if (spare_.empty()) {
        buffer = std::make_unique<Buffer>();
    } else {
        buffer = std::move(spare_.back());
        spare_.pop_back();
    }
    buffer->bytes.assign(message.begin(), message.end());
    buffer->header = {};
    buffer->header.lpData = buffer->bytes.data();
    buffer->header.dwBufferLength = static_cast<std::uint32_t>(message.size());
    buffer->header.dwBytesRecorded = buffer->header.dwBufferLength;
    if (const WinMmResult prepared = api_->OutPrepare(handle_, buffer->header);
        prepared != midi::MMSYSERR_NOERROR) {
        spare_.push_back(std::move(buffer));
        return WinMmStatus(*api_, prepared, "midiOutPrepareHeader");
    }

    // Listed before the call: a driver that sends at once reports it done before returning.
    Buffer* const sending = buffer.get();
    {
        const std::lock_guard lock(mutex_);
        sent_.push_back(std::move(buffer));
    }
    const WinMmResult sent = api_->OutLong(handle_, sending->header);
    if (sent == midi::MMSYSERR_NOERROR) return {};
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(sent_.begin(), sent_.end(), [&](const auto& listed) {
            return listed.get() == sending;
        });
        if (found != sent_.end()) {
            done_.push_back(std::move(*found));
            sent_.erase(found);
        }
    }
    return WinMmStatus(*api_, sent, "midiOutLongMsg");
}

midi::BackendStatus WinMmOutput::SendShort(std::span<const std::uint8_t> message) {
    if (closed_) return {midi::MMSYSERR_INVALHANDLE, "WinMM: the output is closed"};
    if (message.empty()) return {midi::MMSYSERR_INVALPARAM, "WinMM: the message is empty"};
    // Data bytes going on with an open SysEx, its F7, or a start of one: a piece of SysEx.
    if (midi::ShortMessageLength(message.front()) == 0) return SendLong(message);
    if (message.size() > 3)
        return {midi::MMSYSERR_INVALPARAM, "WinMM: a short message has at most three bytes"};
    if (!midi::IsRealtime(message.front()) && !Drained())
        return {midi::MIDIERR_STILLPLAYING,
                "WinMM: the device has not finished the SysEx sent before this message"};
    return WinMmStatus(*api_, api_->OutShort(handle_, midi::PackShortMessage(message)),
                       "midiOutShortMsg");
}

midi::BackendStatus WinMmOutput::Close() {
    if (closed_) return {};
    closed_ = true;
    midi::BackendStatus status;
    if (!Drained()) {
        status = {midi::MIDIERR_STILLPLAYING, "WinMM: the device did not finish what was sent in " +
                                                  std::to_string(limits_.drain.count()) +
                                                  " ms; the rest was dropped"};
        // Every buffer still with the device comes back done.
        (void)api_->OutReset(handle_);
        (void)Drained();
    }
    if (midi::BackendStatus reclaimed = Reclaim(); status.code == midi::MMSYSERR_NOERROR)
        status = std::move(reclaimed);
    {
        // Buffers that did not come back even after the reset may still be read.
        const std::lock_guard lock(mutex_);
        for (auto& buffer : sent_) KeepForever(std::move(buffer));
        sent_.clear();
    }
    const WinMmResult closed = api_->OutClose(handle_);
    if (status.code == midi::MMSYSERR_NOERROR) status = WinMmStatus(*api_, closed, "midiOutClose");
    return status;
}

}  // namespace voxtane::devices
