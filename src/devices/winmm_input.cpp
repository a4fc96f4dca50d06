#include "devices/winmm_input.h"

#include <algorithm>

#include "devices/winmm_status.h"
#include "midi/midi_bytes.h"

namespace voxtane::devices {

namespace {
// Clock, song position's quarter frames and active sensing: of no use here, and they would fill
// the queue between looks.
[[nodiscard]] bool IsTiming(std::uint8_t status) {
    return status == 0xF8 || status == 0xF1 || status == 0xFE;
}
}  // namespace

midi::OpenedInput WinMmInput::Open(std::shared_ptr<WinMmApi> api, std::uint32_t device,
                                   WinMmInputBuffers buffers) {
    std::unique_ptr<WinMmInput> input(new WinMmInput(std::move(api), buffers));
    const WinMmResult opened = input->api_->InOpen(input->handle_, device, *input);
    if (opened != midi::MMSYSERR_NOERROR)
        return {WinMmStatus(*input->api_, opened, "midiInOpen"), nullptr};
    input->closed_ = false;
    if (midi::BackendStatus started = input->Start(); started.code != midi::MMSYSERR_NOERROR) {
        (void)input->Close();
        return {std::move(started), nullptr};
    }
    return {{}, std::move(input)};
}

midi::BackendStatus WinMmInput::Start() {
    // All made before any goes to the system: the callback looks them up while more are added.
    for (std::uint32_t i = 0; i < sizes_.count; ++i) {
        auto buffer = std::make_unique<Buffer>();
        buffer->bytes.resize(sizes_.bytes);
        buffer->header.lpData = buffer->bytes.data();
        buffer->header.dwBufferLength = sizes_.bytes;
        buffer->header.dwUser = i;
        buffers_.push_back(std::move(buffer));
    }
    for (auto& buffer : buffers_) {
        if (const WinMmResult prepared = api_->InPrepare(handle_, buffer->header);
            prepared != midi::MMSYSERR_NOERROR)
            return WinMmStatus(*api_, prepared, "midiInPrepareHeader");
        buffer->prepared = true;
        const std::lock_guard lock(mutex_);
        if (!Requeue(*buffer)) return requeueFailure_;
    }
    return WinMmStatus(*api_, api_->InStart(handle_), "midiInStart");
}

WinMmInput::~WinMmInput() {
    (void)Close();
}

bool WinMmInput::Requeue(Buffer& buffer) {
    buffer.header.dwBytesRecorded = 0;
    const WinMmResult added = api_->InAddBuffer(handle_, buffer.header);
    if (added == midi::MMSYSERR_NOERROR) {
        buffer.queued = true;
        ++queued_;
        return true;
    }
    if (requeueFailure_.code == midi::MMSYSERR_NOERROR)
        requeueFailure_ = WinMmStatus(*api_, added, "midiInAddBuffer");
    return false;
}

void WinMmInput::OnMessage(WinMmMessage message, std::uintptr_t param1, std::uintptr_t) {
    switch (message) {
        case WinMmMessage::InData:
        case WinMmMessage::InMoreData:
            OnShort(static_cast<std::uint32_t>(param1));
            return;
        case WinMmMessage::InLongData:
        case WinMmMessage::InLongError:
            OnBuffer(*reinterpret_cast<WinMmHeader*>(param1));
            return;
        default:
            return;
    }
}

void WinMmInput::OnShort(std::uint32_t packed) {
    const std::vector<std::uint8_t> bytes = midi::UnpackShortMessage(packed);
    if (bytes.empty() || IsTiming(bytes.front())) return;
    const std::lock_guard lock(mutex_);
    Arrived(bytes, false);
}

void WinMmInput::OnBuffer(WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (header.dwUser >= buffers_.size() || !buffers_[header.dwUser] ||
        &buffers_[header.dwUser]->header != &header)
        return;
    Buffer& buffer = *buffers_[header.dwUser];
    if (!buffer.queued) return;
    buffer.queued = false;
    --queued_;
    const std::uint32_t recorded = std::min(header.dwBytesRecorded, header.dwBufferLength);
    if (recorded > 0)
        Arrived({reinterpret_cast<const std::uint8_t*>(header.lpData), recorded}, true);
    if (!closing_) (void)Requeue(buffer);
    returned_.notify_all();
}

void WinMmInput::Arrived(std::span<const std::uint8_t> bytes, bool sysex) {
    if (sysex && pieceOpen_ && bytes.front() != kSysexStart)
        arrived_.back().insert(arrived_.back().end(), bytes.begin(), bytes.end());
    else
        arrived_.emplace_back(bytes.begin(), bytes.end());
    pieceOpen_ = sysex && arrived_.back().back() != kSysexEnd;
}

std::vector<std::vector<std::uint8_t>> WinMmInput::Received() {
    std::vector<std::vector<std::uint8_t>> arrived;
    const std::lock_guard lock(mutex_);
    arrived.swap(arrived_);
    pieceOpen_ = false;
    return arrived;
}

midi::BackendStatus WinMmInput::Close() {
    if (closed_) return {};
    closed_ = true;
    {
        // From here the callback gives no buffer back to the system, so the reset returns all.
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    midi::BackendStatus status = WinMmStatus(*api_, api_->InStop(handle_), "midiInStop");
    const WinMmResult reset = api_->InReset(handle_);
    if (status.code == midi::MMSYSERR_NOERROR) status = WinMmStatus(*api_, reset, "midiInReset");
    {
        std::unique_lock lock(mutex_);
        if (!returned_.wait_for(lock, sizes_.drain, [&] { return queued_ == 0; }) &&
            status.code == midi::MMSYSERR_NOERROR)
            status = {
                midi::MIDIERR_STILLPLAYING,
                "WinMM: the input kept " + std::to_string(queued_) + " buffers after its reset"};
    }
    for (auto& buffer : buffers_) {
        {
            const std::lock_guard lock(mutex_);
            if (buffer->queued) KeepForever(std::move(buffer));
        }
        if (!buffer || !buffer->prepared) continue;
        const WinMmResult unprepared = api_->InUnprepare(handle_, buffer->header);
        if (unprepared != midi::MMSYSERR_NOERROR) {
            if (status.code == midi::MMSYSERR_NOERROR)
                status = WinMmStatus(*api_, unprepared, "midiInUnprepareHeader");
            const std::lock_guard lock(mutex_);
            KeepForever(std::move(buffer));
        }
    }
    const WinMmResult closed = api_->InClose(handle_);
    if (status.code == midi::MMSYSERR_NOERROR) status = WinMmStatus(*api_, closed, "midiInClose");
    if (status.code == midi::MMSYSERR_NOERROR) {
        const std::lock_guard lock(mutex_);
        status = requeueFailure_;
    }
    return status;
}

}  // namespace voxtane::devices
