#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "devices/winmm_api.h"
#include "midi/midi_backend.h"
#include "midi/synth_messages.h"

namespace voxtane::devices {

struct WinMmInputBuffers {
    // The system hands a SysEx buffer on only once it is full or has taken an F7, and the synth
    // leaves its acknowledgement open while it waits for the computer's next step, or when it
    // stops there. Buffers of the acknowledgement's length hand it on the moment it has arrived
    // (it starts a buffer of its own: what the synth sent before it ended with F7), and hold
    // back at most five bytes of an answer that stops short.
    std::uint32_t bytes = std::tuple_size_v<midi::Acknowledgement>;
    // Buffers go back to the system as soon as they come from it; these are for a slow callback
    // thread: about half a second of MIDI at full speed.
    std::uint32_t count = 256;
    // How long a close waits for the system to give the buffers back.
    std::chrono::milliseconds drain{5'000};
};

// One open WinMM input. Short messages come through the callback packed (MIM_DATA), SysEx in
// buffers of the input's own (MIM_LONGDATA, MIM_LONGERROR), each given back to the system at once
// (midiInAddBuffer is the one call the callback may make). A buffer without F7 at its end is a
// piece that the next buffer goes on with: pieces that arrive before Received is called are
// joined, so what it returns is as few messages as have arrived.
class WinMmInput final : public midi::InputConnection, private WinMmListener {
  public:
    [[nodiscard]] static midi::OpenedInput Open(std::shared_ptr<WinMmApi> api, std::uint32_t device,
                                                WinMmInputBuffers buffers = {});
    ~WinMmInput() override;
    WinMmInput(const WinMmInput&) = delete;
    WinMmInput& operator=(const WinMmInput&) = delete;

    [[nodiscard]] std::vector<std::vector<std::uint8_t>> Received() override;
    [[nodiscard]] midi::BackendStatus Close() override;

  private:
    struct Buffer {
        std::vector<char> bytes;
        WinMmHeader header{};
        bool prepared = false;
        bool queued = false;  // with the system; guarded by mutex_
    };

    WinMmInput(std::shared_ptr<WinMmApi> api, WinMmInputBuffers buffers)
        : api_(std::move(api)), sizes_(buffers) {}
    [[nodiscard]] midi::BackendStatus Start();
    void OnMessage(WinMmMessage message, std::uintptr_t param1, std::uintptr_t param2) override;
    void OnShort(std::uint32_t packed);
    void OnBuffer(WinMmHeader& header);
    // With mutex_ held.
    void Arrived(std::span<const std::uint8_t> bytes, bool sysex);
    [[nodiscard]] bool Requeue(Buffer& buffer);

    std::shared_ptr<WinMmApi> api_;
    WinMmInputBuffers sizes_;
    WinMmHandle handle_ = nullptr;
    bool closed_ = true;
    std::vector<std::unique_ptr<Buffer>> buffers_;

    std::mutex mutex_;  // guards what follows, which the system's thread reaches
    std::condition_variable returned_;
    bool closing_ = false;
    std::size_t queued_ = 0;
    midi::BackendStatus requeueFailure_;
    std::vector<std::vector<std::uint8_t>> arrived_;
    bool pieceOpen_ = false;  // the last of arrived_ is SysEx that has not had its F7
};

}  // namespace voxtane::devices
