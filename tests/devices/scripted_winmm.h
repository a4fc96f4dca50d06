#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "devices/winmm_api.h"

namespace voxtane::testing {

// WinMM as a test plays it: devices by name, one open output and one open input at a time,
// header flags kept as the system keeps them, and every misuse the system would refuse (a
// buffer unprepared while queued, a close with buffers queued, a short message while a long one
// is still with the device) counted. Callbacks run on the thread that calls the method causing
// them, which may be any; no lock of this object is held while they run.
class ScriptedWinMm final : public devices::WinMmApi {
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
    void FailNext(const std::string& call, devices::WinMmResult result);

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
    devices::WinMmResult OutName(std::uint32_t device, std::string& name) override;
    devices::WinMmResult OutOpen(devices::WinMmHandle& handle, std::uint32_t device,
                                 devices::WinMmListener& listener) override;
    devices::WinMmResult OutShort(devices::WinMmHandle handle, std::uint32_t packed) override;
    devices::WinMmResult OutPrepare(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult OutLong(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult OutUnprepare(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult OutReset(devices::WinMmHandle) override;
    devices::WinMmResult OutClose(devices::WinMmHandle) override;
    std::uint32_t InCount() override;
    devices::WinMmResult InName(std::uint32_t device, std::string& name) override;
    devices::WinMmResult InOpen(devices::WinMmHandle& handle, std::uint32_t device,
                                devices::WinMmListener& listener) override;
    devices::WinMmResult InPrepare(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult InAddBuffer(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult InUnprepare(devices::WinMmHandle, devices::WinMmHeader& header) override;
    devices::WinMmResult InStart(devices::WinMmHandle) override;
    devices::WinMmResult InStop(devices::WinMmHandle) override;
    devices::WinMmResult InReset(devices::WinMmHandle) override;
    devices::WinMmResult InClose(devices::WinMmHandle) override;
    std::string ErrorText(devices::WinMmResult result) override;

  private:
    // The failure planned for this call, or no error; with mutex_ held.
    devices::WinMmResult Planned(const std::string& call);
    devices::WinMmResult Prepare(devices::WinMmHeader& header);
    devices::WinMmResult Unprepare(devices::WinMmHeader& header);
    void Done(devices::WinMmListener* listener, devices::WinMmMessage message,
              devices::WinMmHeader& header);

    mutable std::mutex mutex_;
    std::map<std::string, devices::WinMmResult> planned_;
    devices::WinMmListener* output_ = nullptr;
    devices::WinMmListener* input_ = nullptr;
    bool started_ = false;
    bool inSysex_ = false;
    std::vector<std::uint8_t> short_;  // a short message still coming
    std::deque<devices::WinMmHeader*> held_;
    std::deque<devices::WinMmHeader*> queued_;
    std::vector<Wire> sent_;
    std::vector<const void*> outputBuffers_;
    int prepared_ = 0;
    int misuses_ = 0;
};

}  // namespace voxtane::testing
