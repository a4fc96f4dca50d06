#include "devices/rtmidi_output.h"

#include <iostream>
#include <sstream>

namespace voxtane::devices {

namespace {
midi::MMRESULT CodeOf(RtMidiError::Type type) {
    switch (type) {
        case RtMidiError::NO_DEVICES_FOUND:
            return midi::MMSYSERR_NODRIVER;
        case RtMidiError::INVALID_DEVICE:
            return midi::MMSYSERR_BADDEVICEID;
        case RtMidiError::MEMORY_ERROR:
            return midi::MMSYSERR_NOMEM;
        case RtMidiError::INVALID_PARAMETER:
            return midi::MMSYSERR_INVALPARAM;
        // A warning means the call did not do its work: no server, no port, no room.
        case RtMidiError::WARNING:
        case RtMidiError::DEBUG_WARNING:
            return midi::MIDIERR_NOTREADY;
        default:
            return midi::MMSYSERR_ERROR;
    }
}
}  // namespace

namespace {
// RtMidi reports what goes wrong while its constructor starts a client on std::cerr, before an
// error callback can be set. For that moment std::cerr writes into a buffer of ours, and what
// RtMidi wrote there becomes the result of the creation.
class CerrCapture {
  public:
    CerrCapture() : previous_(std::cerr.rdbuf(caught_.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(previous_); }
    CerrCapture(const CerrCapture&) = delete;
    CerrCapture& operator=(const CerrCapture&) = delete;
    [[nodiscard]] std::string Text() const {
        std::string text = caught_.str();
        const auto first = text.find_first_not_of(" \n");
        if (first == std::string::npos) return {};
        return text.substr(first, text.find_last_not_of(" \n") - first + 1);
    }

  private:
    std::ostringstream caught_;
    std::streambuf* previous_;
};
}  // namespace

RtMidiOutput::Created RtMidiOutput::Create(RtMidi::Api api, const std::string& clientName,
                                           const std::string& systemName) {
    std::unique_ptr<RtMidiOutput> output(new RtMidiOutput(systemName));
    std::string printed;
    try {
        CerrCapture capture;
        output->out_ = std::make_unique<RtMidiOut>(api, clientName);
        printed = capture.Text();
    } catch (const RtMidiError& e) {
        return {output->FromError(e.getType(), e.getMessage()), nullptr};
    }
    // A client that could not reach its system is only a warning to RtMidi.
    if (!printed.empty()) return {output->FromError(RtMidiError::WARNING, printed), nullptr};
    output->out_->setErrorCallback(&RtMidiOutput::OnError, output.get());
    return {{}, std::move(output)};
}

void RtMidiOutput::OnError(RtMidiError::Type type, const std::string& text, void* self) {
    auto& output = *static_cast<RtMidiOutput*>(self);
    if (!output.caught_) output.caught_ = Caught{type, text};
}

midi::BackendStatus RtMidiOutput::FromError(RtMidiError::Type type, const std::string& text) const {
    return {CodeOf(type), systemName_ + ": " + text};
}

midi::BackendStatus RtMidiOutput::TakeCaught() {
    if (!caught_) return {};
    midi::BackendStatus status = FromError(caught_->type, caught_->text);
    caught_.reset();
    return status;
}

// RtMidi throws only where no callback is set, but a throw must not escape as one either.
template <class Call>
midi::BackendStatus RtMidiOutput::Checked(Call&& call) {
    try {
        call();
    } catch (const RtMidiError& e) {
        caught_.reset();
        return FromError(e.getType(), e.getMessage());
    }
    return TakeCaught();
}

midi::BackendStatus RtMidiOutput::PortNames(std::vector<std::string>& names) {
    names.clear();
    return Checked([&] {
        const unsigned int count = out_->getPortCount();
        for (unsigned int i = 0; i < count; ++i) names.push_back(out_->getPortName(i));
    });
}

}  // namespace voxtane::devices
