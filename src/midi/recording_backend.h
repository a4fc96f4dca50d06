#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "midi/midi_backend.h"

namespace voxtane::midi {

// The calls of the output layer that reach a backend and that a script can make fail.
enum class MidiCall { Open, Prepare, SendLong, Unprepare, SendShort, Close };

struct RecordedEvent {
    enum class Kind { CreateDefaultPort, Open, Prepare, SendLong, Unprepare, SendShort, Close };
    Kind kind;
    std::int32_t device;              // -1 for the default output
    std::vector<std::uint8_t> bytes;  // what a send carried
    MMRESULT result;
};

// A backend without any MIDI system: it offers the devices it is given and records every call
// that reaches it, in order, with its result. Tests and runs without MIDI use it; a script
// makes chosen calls fail with chosen codes.
class RecordingBackend : public MidiBackend {
  public:
    explicit RecordingBackend(std::vector<std::string> devices = {})
        : devices_(std::move(devices)) {}

    void SetDevices(std::vector<std::string> devices) { devices_ = std::move(devices); }
    // Every later call of this kind fails with the code (and the reason), until cleared.
    void FailCall(MidiCall call, MMRESULT code, std::string reason = "");
    // Asking for the name of this device number fails with the code.
    void FailDeviceName(std::size_t device, MMRESULT code);
    void ClearFailures();
    // No MIDI system here offers a port of the program's own: opening the default fails.
    void WithoutDefaultOutput() { defaultOffered_ = false; }
    // Called at every open of an output, before it is recorded: a test moves its clock on, as a
    // slow MIDI system would take that time.
    void OnOpen(std::function<void()> hook) { onOpen_ = std::move(hook); }

    // The inputs it offers. What every open input receives is what `answer` makes of each
    // message sent on any output: a synth standing in for the real one.
    using Answer =
        std::function<std::vector<std::vector<std::uint8_t>>(std::span<const std::uint8_t> sent)>;
    void SetInputs(std::vector<std::string> inputs, Answer answer = {}) {
        inputs_ = std::move(inputs);
        answer_ = std::move(answer);
    }
    // Messages that arrive at every open input now, as if the synth sent them on its own.
    void Arrive(const std::vector<std::uint8_t>& message);
    [[nodiscard]] std::size_t OpenInputs() const { return openInputs_.size(); }

    [[nodiscard]] const std::vector<RecordedEvent>& Events() const { return events_; }
    [[nodiscard]] std::size_t Count(RecordedEvent::Kind kind) const;
    // The bytes of every send that succeeded, long and short, in order.
    [[nodiscard]] std::vector<std::vector<std::uint8_t>> Sent() const;

    [[nodiscard]] std::size_t ListDevices() override;
    [[nodiscard]] DeviceName NameOf(std::size_t device) override;
    [[nodiscard]] OpenedOutput Open(std::size_t device) override;
    [[nodiscard]] OpenedOutput OpenDefault() override;
    [[nodiscard]] std::vector<std::string> InputNames() override { return inputs_; }
    [[nodiscard]] OpenedInput OpenInput(const std::string& name) override;

    // What a connection reports back; it records the call and gives the scripted result.
    [[nodiscard]] BackendStatus Record(RecordedEvent::Kind kind, MidiCall call, std::int32_t device,
                                       std::span<const std::uint8_t> bytes);

  private:
    [[nodiscard]] OpenedOutput OpenAs(std::int32_t device);

    std::vector<std::string> devices_;
    std::vector<std::string> listed_;
    std::map<MidiCall, BackendStatus> failures_;
    std::map<std::size_t, MMRESULT> nameFailures_;
    bool defaultOffered_ = true;
    bool defaultCreated_ = false;
    std::vector<RecordedEvent> events_;
    std::vector<std::string> inputs_;
    Answer answer_;
    std::function<void()> onOpen_;
    // The queues of the inputs open now.
    std::vector<std::shared_ptr<std::vector<std::vector<std::uint8_t>>>> openInputs_;
};

}  // namespace voxtane::midi
