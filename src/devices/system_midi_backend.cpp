#include "devices/system_midi_backend.h"

#include "devices/jack_midi_system.h"
#include "devices/quiet_libraries.h"
#include "devices/rtmidi_system.h"

namespace voxtane::devices {

SystemMidiBackend::SystemMidiBackend(std::vector<MidiSystem> systems) {
    QuietMidiLibraries();
    for (MidiSystem which : systems) {
        std::unique_ptr<PortSystem> system;
        if (which == MidiSystem::AlsaSequencer)
            system = RtMidiSystem::StartAlsa();
        else
            system = JackMidiSystem::Start(kDefaultPortName);
        if (system) systems_.push_back(std::move(system));
    }
}

std::vector<std::string> SystemMidiBackend::SystemNames() const {
    std::vector<std::string> names;
    for (const auto& system : systems_) names.push_back(system->Name());
    return names;
}

std::size_t SystemMidiBackend::ListDevices() {
    listed_.clear();
    for (const auto& system : systems_)
        for (std::string& port : system->PortNames()) listed_.push_back({system.get(), port});
    return listed_.size();
}

midi::DeviceName SystemMidiBackend::NameOf(std::size_t device) {
    if (device >= listed_.size()) return {{midi::MMSYSERR_BADDEVICEID, ""}, ""};
    const Listed& listed = listed_[device];
    return {{}, listed.system->Name() + ": " + listed.port};
}

midi::OpenedOutput SystemMidiBackend::Open(std::size_t device) {
    if (device >= listed_.size()) return {{midi::MMSYSERR_BADDEVICEID, ""}, nullptr};
    return listed_[device].system->Open(listed_[device].port);
}

midi::OpenedOutput SystemMidiBackend::OpenDefault() {
    if (defaultSystem_ != nullptr) return defaultSystem_->OpenLasting(kDefaultPortName);
    if (systems_.empty())
        return {{midi::MIDIERR_NODEVICE, "neither an ALSA sequencer nor a JACK server runs here"},
                nullptr};
    midi::BackendStatus failure;
    for (const auto& system : systems_) {
        midi::OpenedOutput opened = system->OpenLasting(kDefaultPortName);
        if (opened.connection) {
            defaultSystem_ = system.get();
            return opened;
        }
        if (failure.reason.empty()) failure = std::move(opened.status);
    }
    return {{midi::MIDIERR_NODEVICE, failure.reason}, nullptr};
}

std::vector<std::string> SystemMidiBackend::InputNames() {
    std::vector<std::string> names;
    for (const auto& system : systems_)
        for (const std::string& port : system->InputPortNames())
            names.push_back(system->Name() + ": " + port);
    return names;
}

midi::OpenedInput SystemMidiBackend::OpenInput(const std::string& name) {
    for (const auto& system : systems_) {
        const std::string prefix = system->Name() + ": ";
        if (name.starts_with(prefix)) return system->OpenInput(name.substr(prefix.size()));
    }
    return {{midi::MMSYSERR_BADDEVICEID, name + " is no MIDI input here"}, nullptr};
}

std::optional<std::string> SystemMidiBackend::TakeNotice() {
    std::optional<std::string> notice;
    for (const auto& system : systems_)
        if (std::optional<std::string> told = system->TakeNotice())
            notice = notice ? *notice + " " + *told : std::move(told);
    return notice;
}

}  // namespace voxtane::devices
