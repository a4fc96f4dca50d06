#include "midi/rtmidi_backend.h"

#include "midi/quiet_libraries.h"

namespace voxtane::midi {

RtMidiBackend::RtMidiBackend(std::vector<MidiSystem> systems) {
    QuietMidiLibraries();
    for (MidiSystem which : systems)
        if (std::unique_ptr<RtMidiSystem> system = RtMidiSystem::Start(which))
            systems_.push_back(std::move(system));
}

// The default port goes before the systems whose clients it may need.
RtMidiBackend::~RtMidiBackend() {
    defaultPort_.reset();
}

std::vector<std::string> RtMidiBackend::SystemNames() const {
    std::vector<std::string> names;
    for (const auto& system : systems_) names.push_back(system->Name());
    return names;
}

std::size_t RtMidiBackend::ListDevices() {
    listed_.clear();
    for (const auto& system : systems_)
        for (std::string& port : system->PortNames()) listed_.push_back({system.get(), port});
    return listed_.size();
}

DeviceName RtMidiBackend::NameOf(std::size_t device) {
    if (device >= listed_.size()) return {{MMSYSERR_BADDEVICEID, ""}, ""};
    const Listed& listed = listed_[device];
    return {{}, listed.system->Name() + ": " + listed.port};
}

OpenedOutput RtMidiBackend::Open(std::size_t device) {
    if (device >= listed_.size()) return {{MMSYSERR_BADDEVICEID, ""}, nullptr};
    return listed_[device].system->Open(listed_[device].port);
}

OpenedOutput RtMidiBackend::OpenDefault() {
    if (!defaultPort_) {
        if (systems_.empty())
            return {{MIDIERR_NODEVICE, "neither an ALSA sequencer nor a JACK server runs here"},
                    nullptr};
        BackendStatus failure;
        for (const auto& system : systems_) {
            RtMidiOutput::Created created = system->CreateLastingPort(kDefaultPortName);
            if (created.output) {
                defaultSystem_ = system.get();
                defaultPort_ = std::move(created.output);
                break;
            }
            if (failure.reason.empty()) failure = std::move(created.status);
        }
        if (!defaultPort_) return {{MIDIERR_NODEVICE, failure.reason}, nullptr};
    }
    return {{}, defaultSystem_->ConnectionOn(*defaultPort_)};
}

}  // namespace voxtane::midi
