#include "devices/rtmidi_system.h"

#include <algorithm>

#include "devices/rtmidi_input.h"

namespace voxtane::devices {

namespace {
constexpr const char* kListerClient = "Voxtane device list";
constexpr const char* kOutputClient = "Voxtane output";
constexpr const char* kOutputPort = "out";
constexpr const char* kInputClient = "Voxtane input";

// The sequencer address that ends a port's name in the list ("synth:MIDI 1 24:0" gives "24:0").
std::string AddressOf(const std::string& portName) {
    const auto space = portName.rfind(' ');
    return space == std::string::npos ? portName : portName.substr(space + 1);
}
}  // namespace

std::unique_ptr<RtMidiSystem> RtMidiSystem::StartAlsa() {
    std::unique_ptr<RtMidiSystem> system(new RtMidiSystem(RtMidi::LINUX_ALSA, "ALSA"));
    RtMidiOutput::Created lister = RtMidiOutput::Create(system->api_, kListerClient, system->name_);
    if (!lister.output) return nullptr;
    system->lister_ = std::move(lister.output);
    // The client of the first open is made now, while the system is known to answer.
    AlsaSequencerOutput::Created output = AlsaSequencerOutput::Create(kOutputClient, kOutputPort);
    if (!output.output) return nullptr;
    system->outputs_.push_back(std::move(output.output));
    return system;
}

std::vector<std::string> RtMidiSystem::PortNames() {
    std::vector<std::string> names;
    if (lister_->PortNames(names).code != midi::MMSYSERR_NOERROR) names.clear();
    return names;
}

midi::OpenedOutput RtMidiSystem::Open(const std::string& port) {
    // Ports come and go between listing and opening: the device is found again by its name,
    // never by a position that may now belong to another port.
    std::vector<std::string> names;
    if (midi::BackendStatus listed = lister_->PortNames(names);
        listed.code != midi::MMSYSERR_NOERROR)
        return {std::move(listed), nullptr};
    const auto found = std::find(names.begin(), names.end(), port);
    if (found == names.end())
        return {{midi::MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};

    AlsaSequencerOutput::Created client = LeaseOutput();
    if (!client.output) return {std::move(client.status), nullptr};
    if (midi::BackendStatus opened = client.output->ConnectTo(AddressOf(port));
        opened.code != midi::MMSYSERR_NOERROR) {
        outputs_.push_back(std::move(client.output));
        return {std::move(opened), nullptr};
    }
    return {{}, std::make_unique<AlsaConnection>(std::move(client.output), outputs_)};
}

AlsaSequencerOutput::Created RtMidiSystem::LeaseOutput() {
    if (outputs_.empty()) return AlsaSequencerOutput::Create(kOutputClient, kOutputPort);
    AlsaSequencerOutput::Created leased{{}, std::move(outputs_.back())};
    outputs_.pop_back();
    return leased;
}

midi::OpenedOutput RtMidiSystem::OpenLasting(const std::string& name) {
    if (!lasting_) {
        AlsaSequencerOutput::Created created = AlsaSequencerOutput::Create(name, name);
        if (!created.output) return {std::move(created.status), nullptr};
        lasting_ = std::move(created.output);
    }
    return {{}, std::make_unique<AlsaConnection>(*lasting_)};
}

// A client of its own lists the inputs: an input client's port list is the other way round.
std::vector<std::string> RtMidiSystem::InputPortNames() {
    std::vector<std::string> names;
    try {
        RtMidiIn lister(api_, kListerClient);
        lister.setErrorCallback([](RtMidiError::Type, const std::string&, void*) {}, nullptr);
        for (unsigned int i = 0; i < lister.getPortCount(); ++i)
            names.push_back(lister.getPortName(i));
    } catch (const RtMidiError&) {
        names.clear();
    }
    return names;
}

midi::OpenedInput RtMidiSystem::OpenInput(const std::string& port) {
    return RtMidiInput::Open(api_, kInputClient, name_, port);
}

}  // namespace voxtane::devices
