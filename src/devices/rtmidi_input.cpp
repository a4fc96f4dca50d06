#include "devices/rtmidi_input.h"

#include <algorithm>

namespace voxtane::devices {

namespace {
// Room for a whole bank's answers arriving before they are looked at.
constexpr unsigned int kQueuedMessages = 1024;
}  // namespace

midi::OpenedInput RtMidiInput::Open(RtMidi::Api api, const std::string& clientName,
                                    const std::string& systemName, const std::string& port) {
    std::unique_ptr<RtMidiInput> input(new RtMidiInput(systemName));
    try {
        input->in_ = std::make_unique<RtMidiIn>(api, clientName, kQueuedMessages);
        input->in_->setErrorCallback(&RtMidiInput::OnError, input.get());
        unsigned int index = 0;
        const unsigned int count = input->in_->getPortCount();
        while (index < count && input->in_->getPortName(index) != port) ++index;
        if (index == count)
            return {{midi::MMSYSERR_BADDEVICEID, systemName + ": " + port + " is no longer there"},
                    nullptr};
        input->in_->openPort(index, "in");
        // SysEx is what the synth answers with; clock and active sensing are of no use here.
        input->in_->ignoreTypes(false, true, true);
    } catch (const RtMidiError& e) {
        return {{midi::MMSYSERR_ERROR, systemName + ": " + e.getMessage()}, nullptr};
    }
    if (midi::BackendStatus opened = input->TakeCaught(); opened.code != midi::MMSYSERR_NOERROR)
        return {std::move(opened), nullptr};
    return {{}, std::move(input)};
}

void RtMidiInput::OnError(RtMidiError::Type, const std::string& text, void* self) {
    auto& input = *static_cast<RtMidiInput*>(self);
    if (!input.caught_) input.caught_ = text;
}

midi::BackendStatus RtMidiInput::TakeCaught() {
    if (!caught_) return {};
    midi::BackendStatus status{midi::MMSYSERR_ERROR, systemName_ + ": " + *caught_};
    caught_.reset();
    return status;
}

std::vector<std::vector<std::uint8_t>> RtMidiInput::Received() {
    std::vector<std::vector<std::uint8_t>> messages;
    std::vector<unsigned char> message;
    for (;;) {
        try {
            in_->getMessage(&message);
        } catch (const RtMidiError&) {
            break;
        }
        if (message.empty()) break;
        messages.emplace_back(message.begin(), message.end());
    }
    return messages;
}

midi::BackendStatus RtMidiInput::Close() {
    try {
        in_->closePort();
    } catch (const RtMidiError& e) {
        return {midi::MMSYSERR_ERROR, systemName_ + ": " + e.getMessage()};
    }
    return TakeCaught();
}

}  // namespace voxtane::devices
