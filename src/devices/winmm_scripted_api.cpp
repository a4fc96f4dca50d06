#include "devices/winmm_scripted_api.h"

#include <algorithm>

#include "midi/midi_bytes.h"
#include "midi/mm_system.h"

namespace voxtane::devices {

namespace {
// The handles this system gives out; never looked into.
int outputHandle = 0;
int inputHandle = 0;
}  // namespace

void ScriptedWinMmApi::FailNext(const std::string& call, WinMmResult result) {
    const std::lock_guard lock(mutex_);
    planned_[call] = result;
}

WinMmResult ScriptedWinMmApi::Planned(const std::string& call) {
    const auto found = planned_.find(call);
    if (found == planned_.end()) return midi::MMSYSERR_NOERROR;
    const WinMmResult result = found->second;
    planned_.erase(found);
    return result;
}

void ScriptedWinMmApi::Done(WinMmListener* listener, WinMmMessage message, WinMmHeader& header) {
    {
        const std::lock_guard lock(mutex_);
        header.dwFlags = (header.dwFlags & ~midi::MHDR_INQUEUE) | midi::MHDR_DONE;
    }
    if (listener != nullptr)
        listener->OnMessage(message, reinterpret_cast<std::uintptr_t>(&header), 0);
}

bool ScriptedWinMmApi::CompleteOne() {
    WinMmHeader* header = nullptr;
    WinMmListener* listener = nullptr;
    {
        const std::lock_guard lock(mutex_);
        if (held_.empty()) return false;
        header = held_.front();
        held_.pop_front();
        listener = output_;
    }
    Done(listener, WinMmMessage::OutDone, *header);
    return true;
}

void ScriptedWinMmApi::Arrive(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        WinMmListener* listener = nullptr;
        WinMmHeader* full = nullptr;
        std::uint32_t packed = 0;
        {
            const std::lock_guard lock(mutex_);
            listener = input_;
            const int length = midi::ShortMessageLength(byte);
            if (length > 0 && byte >= 0xF8) {
                packed = byte;  // realtime, even inside a message
            } else if (length > 0 || (!inSysex_ && !short_.empty() && byte < 0x80)) {
                if (length > 0) {
                    inSysex_ = false;
                    short_.clear();
                }
                short_.push_back(byte);
                if (static_cast<int>(short_.size()) == midi::ShortMessageLength(short_.front())) {
                    packed = midi::PackShortMessage(short_);
                    short_.clear();
                }
            } else {
                if (byte == 0xF0) inSysex_ = true;
                if (!inSysex_ || queued_.empty()) {
                    ++misuses_;  // a byte the system drops
                    continue;
                }
                WinMmHeader& header = *queued_.front();
                header.lpData[header.dwBytesRecorded++] = static_cast<char>(byte);
                if (byte == 0xF7) inSysex_ = false;
                if (byte == 0xF7 || header.dwBytesRecorded == header.dwBufferLength) {
                    full = &header;
                    queued_.pop_front();
                }
            }
        }
        if (full != nullptr)
            Done(listener, WinMmMessage::InLongData, *full);
        else if (packed != 0 && listener != nullptr)
            listener->OnMessage(WinMmMessage::InData, packed, 0);
    }
}

std::vector<ScriptedWinMmApi::Wire> ScriptedWinMmApi::Sent() const {
    const std::lock_guard lock(mutex_);
    return sent_;
}
ScriptedWinMmApi::Counts ScriptedWinMmApi::Now() const {
    const std::lock_guard lock(mutex_);
    return {prepared_,          static_cast<int>(queued_.size()),
            misuses_,           static_cast<int>(outputBuffers_.size()),
            output_ != nullptr, input_ != nullptr};
}

WinMmResult ScriptedWinMmApi::Prepare(WinMmHeader& header) {
    if (header.lpData == nullptr || header.dwBufferLength == 0)
        return ++misuses_, midi::MMSYSERR_INVALPARAM;
    if ((header.dwFlags & midi::MHDR_PREPARED) == 0) ++prepared_;
    header.dwFlags = midi::MHDR_PREPARED;
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::Unprepare(WinMmHeader& header) {
    if ((header.dwFlags & midi::MHDR_INQUEUE) != 0) return ++misuses_, midi::MIDIERR_STILLPLAYING;
    if ((header.dwFlags & midi::MHDR_PREPARED) != 0) --prepared_;
    header.dwFlags &= ~midi::MHDR_PREPARED;
    return midi::MMSYSERR_NOERROR;
}

std::uint32_t ScriptedWinMmApi::OutCount() {
    return static_cast<std::uint32_t>(outputs.size());
}

WinMmResult ScriptedWinMmApi::OutName(std::uint32_t device, std::string& name) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("OutName")) return planned;
    if (device >= outputs.size()) return midi::MMSYSERR_BADDEVICEID;
    name = outputs[device];
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::OutOpen(WinMmHandle& handle, std::uint32_t device,
                                      WinMmListener& listener) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("OutOpen")) return planned;
    if (device >= outputs.size()) return midi::MMSYSERR_BADDEVICEID;
    if (output_ != nullptr) return midi::MMSYSERR_ALLOCATED;
    output_ = &listener;
    openedOutputs.push_back(device);
    handle = &outputHandle;
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::OutShort(WinMmHandle, std::uint32_t packed) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("OutShort")) return planned;
    // A status byte between the buffers of a SysEx would end it.
    if (!held_.empty() && (packed & 0xFF) < 0xF8) ++misuses_;
    const std::vector<std::uint8_t> bytes = midi::UnpackShortMessage(packed);
    sent_.push_back({false, bytes});
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::OutPrepare(WinMmHandle, WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("OutPrepare")) return planned;
    return Prepare(header);
}

WinMmResult ScriptedWinMmApi::OutLong(WinMmHandle, WinMmHeader& header) {
    WinMmListener* listener = nullptr;
    {
        const std::lock_guard lock(mutex_);
        if (const WinMmResult planned = Planned("OutLong")) return planned;
        if ((header.dwFlags & midi::MHDR_PREPARED) == 0)
            return ++misuses_, midi::MIDIERR_UNPREPARED;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(header.lpData);
        sent_.push_back({true, {bytes, bytes + header.dwBufferLength}});
        if (std::find(outputBuffers_.begin(), outputBuffers_.end(), &header) ==
            outputBuffers_.end())
            outputBuffers_.push_back(&header);
        header.dwFlags = (header.dwFlags & ~midi::MHDR_DONE) | midi::MHDR_INQUEUE;
        if (completion == Completion::Held) {
            held_.push_back(&header);
            return midi::MMSYSERR_NOERROR;
        }
        listener = output_;
    }
    Done(listener, WinMmMessage::OutDone, header);
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::OutUnprepare(WinMmHandle, WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("OutUnprepare")) return planned;
    return Unprepare(header);
}

WinMmResult ScriptedWinMmApi::OutReset(WinMmHandle) {
    while (CompleteOne()) {
    }
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::OutClose(WinMmHandle) {
    const std::lock_guard lock(mutex_);
    if (!held_.empty()) return ++misuses_, midi::MIDIERR_STILLPLAYING;
    output_ = nullptr;
    return midi::MMSYSERR_NOERROR;
}

std::uint32_t ScriptedWinMmApi::InCount() {
    return static_cast<std::uint32_t>(inputs.size());
}

WinMmResult ScriptedWinMmApi::InName(std::uint32_t device, std::string& name) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InName")) return planned;
    if (device >= inputs.size()) return midi::MMSYSERR_BADDEVICEID;
    name = inputs[device];
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::InOpen(WinMmHandle& handle, std::uint32_t device,
                                     WinMmListener& listener) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InOpen")) return planned;
    if (device >= inputs.size()) return midi::MMSYSERR_BADDEVICEID;
    if (input_ != nullptr) return midi::MMSYSERR_ALLOCATED;
    input_ = &listener;
    handle = &inputHandle;
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::InPrepare(WinMmHandle, WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InPrepare")) return planned;
    return Prepare(header);
}

WinMmResult ScriptedWinMmApi::InAddBuffer(WinMmHandle, WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InAddBuffer")) return planned;
    if ((header.dwFlags & midi::MHDR_PREPARED) == 0) return ++misuses_, midi::MIDIERR_UNPREPARED;
    if ((header.dwFlags & midi::MHDR_INQUEUE) != 0) return ++misuses_, midi::MIDIERR_STILLPLAYING;
    header.dwFlags = (header.dwFlags & ~midi::MHDR_DONE) | midi::MHDR_INQUEUE;
    header.dwBytesRecorded = 0;
    queued_.push_back(&header);
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::InUnprepare(WinMmHandle, WinMmHeader& header) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InUnprepare")) return planned;
    return Unprepare(header);
}

WinMmResult ScriptedWinMmApi::InStart(WinMmHandle) {
    const std::lock_guard lock(mutex_);
    if (const WinMmResult planned = Planned("InStart")) return planned;
    started_ = true;
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::InStop(WinMmHandle) {
    const std::lock_guard lock(mutex_);
    started_ = false;
    return midi::MMSYSERR_NOERROR;
}

WinMmResult ScriptedWinMmApi::InReset(WinMmHandle) {
    for (;;) {
        WinMmHeader* header = nullptr;
        WinMmListener* listener = nullptr;
        {
            const std::lock_guard lock(mutex_);
            if (!resetReturnsInput || queued_.empty()) return midi::MMSYSERR_NOERROR;
            header = queued_.front();
            queued_.pop_front();
            listener = input_;
        }
        Done(listener, WinMmMessage::InLongData, *header);
    }
}

WinMmResult ScriptedWinMmApi::InClose(WinMmHandle) {
    const std::lock_guard lock(mutex_);
    if (!queued_.empty()) return ++misuses_, midi::MIDIERR_STILLPLAYING;
    input_ = nullptr;
    return midi::MMSYSERR_NOERROR;
}

std::string ScriptedWinMmApi::ErrorText(WinMmResult result) {
    return "scripted error " + std::to_string(result);
}

}  // namespace voxtane::devices
