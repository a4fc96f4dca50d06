#include "midi/recording_backend.h"

#include <algorithm>
#include <utility>

namespace voxtane::midi {

namespace {

class RecordingConnection : public OutputConnection {
  public:
    RecordingConnection(RecordingBackend& backend, std::int32_t device)
        : backend_(backend), device_(device) {}

    BackendStatus Prepare(std::span<const std::uint8_t> buffer) override {
        return backend_.Record(RecordedEvent::Kind::Prepare, MidiCall::Prepare, device_, buffer);
    }
    BackendStatus Unprepare(std::span<const std::uint8_t> buffer) override {
        return backend_.Record(RecordedEvent::Kind::Unprepare, MidiCall::Unprepare, device_,
                               buffer);
    }
    BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        return backend_.Record(RecordedEvent::Kind::SendLong, MidiCall::SendLong, device_, message);
    }
    BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return backend_.Record(RecordedEvent::Kind::SendShort, MidiCall::SendShort, device_,
                               message);
    }
    BackendStatus Close() override {
        return backend_.Record(RecordedEvent::Kind::Close, MidiCall::Close, device_, {});
    }

  private:
    RecordingBackend& backend_;
    std::int32_t device_;
};

using InputQueue = std::shared_ptr<std::vector<std::vector<std::uint8_t>>>;

class RecordingInput : public InputConnection {
  public:
    RecordingInput(std::vector<InputQueue>& open, InputQueue queue)
        : open_(open), queue_(std::move(queue)) {}
    std::vector<std::vector<std::uint8_t>> Received() override {
        return std::exchange(*queue_, {});
    }
    BackendStatus Close() override {
        std::erase(open_, queue_);
        return {};
    }

  private:
    std::vector<InputQueue>& open_;
    InputQueue queue_;
};

}  // namespace

void RecordingBackend::FailCall(MidiCall call, MMRESULT code, std::string reason) {
    failures_[call] = {code, std::move(reason)};
}

void RecordingBackend::FailDeviceName(std::size_t device, MMRESULT code) {
    nameFailures_[device] = code;
}

void RecordingBackend::ClearFailures() {
    failures_.clear();
    nameFailures_.clear();
}

std::size_t RecordingBackend::Count(RecordedEvent::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        events_.begin(), events_.end(), [kind](const RecordedEvent& e) { return e.kind == kind; }));
}

std::vector<std::vector<std::uint8_t>> RecordingBackend::Sent() const {
    std::vector<std::vector<std::uint8_t>> sent;
    for (const RecordedEvent& e : events_) {
        const bool isSend =
            e.kind == RecordedEvent::Kind::SendLong || e.kind == RecordedEvent::Kind::SendShort;
        if (isSend && e.result == MMSYSERR_NOERROR) sent.push_back(e.bytes);
    }
    return sent;
}

std::size_t RecordingBackend::ListDevices() {
    listed_ = devices_;
    return listed_.size();
}

DeviceName RecordingBackend::NameOf(std::size_t device) {
    if (const auto failure = nameFailures_.find(device); failure != nameFailures_.end())
        return {{failure->second, "scripted failure"}, ""};
    if (device >= listed_.size()) return {{MMSYSERR_BADDEVICEID, ""}, ""};
    return {{}, listed_[device]};
}

BackendStatus RecordingBackend::Record(RecordedEvent::Kind kind, MidiCall call, std::int32_t device,
                                       std::span<const std::uint8_t> bytes) {
    BackendStatus status;
    if (const auto failure = failures_.find(call); failure != failures_.end())
        status = failure->second;
    events_.push_back({kind, device, {bytes.begin(), bytes.end()}, status.code});
    const bool sent =
        kind == RecordedEvent::Kind::SendLong || kind == RecordedEvent::Kind::SendShort;
    if (sent && status.code == MMSYSERR_NOERROR && answer_)
        for (const auto& message : answer_(bytes)) Arrive(message);
    return status;
}

void RecordingBackend::Arrive(const std::vector<std::uint8_t>& message) {
    for (const auto& queue : openInputs_) queue->push_back(message);
}

OpenedInput RecordingBackend::OpenInput(const std::string& name) {
    if (std::find(inputs_.begin(), inputs_.end(), name) == inputs_.end())
        return {{MMSYSERR_BADDEVICEID, name + " is no longer there"}, nullptr};
    auto queue = std::make_shared<std::vector<std::vector<std::uint8_t>>>();
    openInputs_.push_back(queue);
    return {{}, std::make_unique<RecordingInput>(openInputs_, queue)};
}

OpenedOutput RecordingBackend::OpenAs(std::int32_t device) {
    if (onOpen_) onOpen_();
    BackendStatus status = Record(RecordedEvent::Kind::Open, MidiCall::Open, device, {});
    if (status.code != MMSYSERR_NOERROR) return {std::move(status), nullptr};
    return {{}, std::make_unique<RecordingConnection>(*this, device)};
}

OpenedOutput RecordingBackend::Open(std::size_t device) {
    if (device >= listed_.size()) return {{MMSYSERR_BADDEVICEID, ""}, nullptr};
    return OpenAs(static_cast<std::int32_t>(device));
}

OpenedOutput RecordingBackend::OpenDefault() {
    if (!defaultOffered_)
        return {{MIDIERR_NODEVICE, "no MIDI system here offers a port of the program's own"},
                nullptr};
    if (!defaultCreated_) {
        defaultCreated_ = true;
        events_.push_back({RecordedEvent::Kind::CreateDefaultPort, -1, {}, MMSYSERR_NOERROR});
    }
    return OpenAs(-1);
}

}  // namespace voxtane::midi
