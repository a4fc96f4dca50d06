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

namespace voxtane::devices {

struct WinMmOutputLimits {
    // How long a close, or a short message after long ones, waits for the device to finish the
    // long messages before it. A device slower than this has stopped taking MIDI.
    std::chrono::milliseconds drain{10'000};
};

// One open WinMM output. A long message is copied into a buffer of the output's own, which
// stays prepared and with the device until the device reports it done (MOM_DONE): a driver may
// send it after midiOutLongMsg has returned. Buffers that came back are unprepared at the next
// send and used again.
//
// The synth's handshake leaves SysEx open between pieces (a request without its F7, a go-ahead
// of data bytes alone). Each piece goes out as a long message just as it is given: the system
// hands a long message's bytes to the driver as they are, and one SysEx may be spread over
// several buffers as long as nothing but realtime bytes goes between them. So a piece never goes
// through midiOutShortMsg, and a status byte waits until the long messages before it are done.
class WinMmOutput final : public midi::OutputConnection, private WinMmListener {
  public:
    [[nodiscard]] static midi::OpenedOutput Open(std::shared_ptr<WinMmApi> api,
                                                 std::uint32_t device,
                                                 WinMmOutputLimits limits = {});
    ~WinMmOutput() override;
    WinMmOutput(const WinMmOutput&) = delete;
    WinMmOutput& operator=(const WinMmOutput&) = delete;

    [[nodiscard]] midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override;
    [[nodiscard]] midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override;
    [[nodiscard]] midi::BackendStatus Close() override;

  private:
    struct Buffer {
        std::vector<char> bytes;
        WinMmHeader header{};
    };
    using Buffers = std::vector<std::unique_ptr<Buffer>>;

    WinMmOutput(std::shared_ptr<WinMmApi> api, WinMmOutputLimits limits)
        : api_(std::move(api)), limits_(limits) {}
    void OnMessage(WinMmMessage message, std::uintptr_t param1, std::uintptr_t param2) override;
    // Unprepares the buffers the device has finished with and keeps them for later sends.
    [[nodiscard]] midi::BackendStatus Reclaim();
    // Whether the device finished every long message within the limit.
    [[nodiscard]] bool Drained();

    std::shared_ptr<WinMmApi> api_;
    WinMmOutputLimits limits_;
    WinMmHandle handle_ = nullptr;
    bool closed_ = false;
    Buffers spare_;  // unprepared

    std::mutex mutex_;  // guards what follows, which the system's thread reaches
    std::condition_variable returned_;
    Buffers sent_;  // with the device
    Buffers done_;  // back from the device, still prepared
};

}  // namespace voxtane::devices
