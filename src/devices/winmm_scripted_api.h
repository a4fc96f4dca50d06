#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "devices/winmm_api.h"

namespace voxtane::devices {

// WinMM as the tests play it, beside the real table: devices by name, one open output and one open
// input at a time, header flags kept as the system keeps them, and every misuse the system would
// refuse (a buffer unprepared while queued, a close with buffers queued, a short message while a
// long one is still with the device) counted. Callbacks run on the thread that calls the method
// causing them, which may be any; no lock of this object is held while they run.
class ScriptedWinMmApi final : public WinMmApi {
  public:
    enum class Completion {
        AtOnce,  // the long message is done before midiOutLongMsg returns
        Held,    // done when CompleteOne or the reset says so
    };
    struct Wire {
        bool longMessage;
        std::vector<std::uint8_t> bytes;
    };

    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    Completion completion = Completion::AtOnce;
    // The input reset gives buffers back (a broken driver keeps them).
    bool resetReturnsInput = true;
    std::vector<std::uint32_t> openedOutputs;  // the device ids opened, in order

    // The next call of this name ("OutPrepare", "InAddBuffer", ...) fails with `result`.
    void FailNext(const std::string& call, WinMmResult result);

    // Reports the oldest held long message done; false when none is held.
    bool CompleteOne();
    // Bytes arriving at the open input as the system takes them off the wire: short messages
    // packed to the callback, SysEx into the queued buffers, each handed back when full or at
    // its F7.
    void Arrive(std::span<const std::uint8_t> bytes);

    [[nodiscard]] std::vector<Wire> Sent() const;
    struct Counts {
        int preparedHeaders;
        int queuedInputBuffers;
        int misuses;
        int distinctOutputBuffers;
        bool outputOpen;
        bool inputOpen;
    };
    [[nodiscard]] Counts Now() const;

    std::uint32_t OutCount() override;
    WinMmResult OutName(std::uint32_t device, std::string& name) override;
    WinMmResult OutOpen(WinMmHandle& handle, std::uint32_t device,
                        WinMmListener& listener) override;
    WinMmResult OutShort(WinMmHandle handle, std::uint32_t packed) override;
    WinMmResult OutPrepare(WinMmHandle, WinMmHeader& header) override;
    WinMmResult OutLong(WinMmHandle, WinMmHeader& header) override;
    WinMmResult OutUnprepare(WinMmHandle, WinMmHeader& header) override;
    WinMmResult OutReset(WinMmHandle) override;
    WinMmResult OutClose(WinMmHandle) override;
    std::uint32_t InCount() override;
    WinMmResult InName(std::uint32_t device, std::string& name) override;
    WinMmResult InOpen(WinMmHandle& handle, std::uint32_t device, WinMmListener& listener) override;
    WinMmResult InPrepare(WinMmHandle, WinMmHeader& header) override;
    WinMmResult InAddBuffer(WinMmHandle, WinMmHeader& header) override;
    WinMmResult InUnprepare(WinMmHandle, WinMmHeader& header) override;
    WinMmResult InStart(WinMmHandle) override;
    WinMmResult InStop(WinMmHandle) override;
    WinMmResult InReset(WinMmHandle) override;
    WinMmResult InClose(WinMmHandle) override;
    std::string ErrorText(WinMmResult result) override;

  private:
    // The failure planned for this call, or no error; with mutex_ held.
    WinMmResult Planned(const std::string& call);
    WinMmResult Prepare(WinMmHeader& header);
    WinMmResult Unprepare(WinMmHeader& header);
    void Done(WinMmListener* listener, WinMmMessage message, WinMmHeader& header);

    mutable std::mutex mutex_;
    std::map<std::string, WinMmResult> planned_;
    WinMmListener* output_ = nullptr;
    WinMmListener* input_ = nullptr;
    bool started_ = false;
    bool inSysex_ = false;
    std::vector<std::uint8_t> short_;  // a short message still coming
    std::deque<WinMmHeader*> held_;
    std::deque<WinMmHeader*> queued_;
    std::vector<Wire> sent_;
    std::vector<const void*> outputBuffers_;
    int prepared_ = 0;
    int misuses_ = 0;
};

}  // namespace voxtane::devices
