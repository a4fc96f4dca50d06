#include "midi/rtmidi_system.h"

#include <algorithm>
#include <chrono>

#include "midi/rtmidi_connection.h"

namespace voxtane::midi {

namespace {
constexpr const char* kListerClient = "Voxtane device list";
constexpr const char* kOutputClient = "Voxtane output";
constexpr const char* kOutputPort = "out";
constexpr const char* kCyclesClient = "Voxtane cycles";
// Long enough for a few process cycles of any usual period.
constexpr std::chrono::milliseconds kSettleLimit{1000};
// A connection made during a cycle is part of the graph from the cycle after the next one.
constexpr std::uint64_t kCyclesToSettle = 2;
}  // namespace

std::unique_ptr<RtMidiSystem> RtMidiSystem::Start(MidiSystem which) {
    std::unique_ptr<RtMidiSystem> system;
    if (which == MidiSystem::AlsaSequencer) {
        system.reset(new RtMidiSystem(RtMidi::LINUX_ALSA, "ALSA"));
    } else {
        // The counting client is also the test whether a server runs at all.
        std::unique_ptr<JackCycles> cycles = JackCycles::Start(kCyclesClient);
        if (!cycles) return nullptr;
        system.reset(new RtMidiSystem(RtMidi::UNIX_JACK, "JACK"));
        system->cycles_ = std::move(cycles);
    }
    RtMidiOutput::Created lister = RtMidiOutput::Create(system->api_, kListerClient, system->name_);
    if (!lister.output) return nullptr;
    system->lister_ = std::move(lister.output);
    // The client of the first open is made now, while the system is known to answer.
    RtMidiOutput::Created output = RtMidiOutput::Create(system->api_, kOutputClient, system->name_);
    if (!output.output) return nullptr;
    system->outputs_.push_back(std::move(output.output));
    return system;
}

std::vector<std::string> RtMidiSystem::PortNames() {
    std::vector<std::string> names;
    if (lister_->PortNames(names).code != MMSYSERR_NOERROR) names.clear();
    return names;
}

OpenedOutput RtMidiSystem::Open(const std::string& port) {
    // Ports come and go between listing and opening: the device is found again by its name,
    // never by a position that may now belong to another port.
    std::vector<std::string> names;
    if (BackendStatus listed = lister_->PortNames(names); listed.code != MMSYSERR_NOERROR)
        return {std::move(listed), nullptr};
    const auto found = std::find(names.begin(), names.end(), port);
    if (found == names.end())
        return {{MMSYSERR_BADDEVICEID, name_ + ": " + port + " is no longer there"}, nullptr};

    RtMidiOutput::Created client = LeaseOutput();
    if (!client.output) return {std::move(client.status), nullptr};
    const auto index = static_cast<unsigned int>(found - names.begin());
    BackendStatus opened = client.output->OpenPort(index, kOutputPort);
    if (opened.code == MMSYSERR_NOERROR) opened = Settle(port);
    if (opened.code != MMSYSERR_NOERROR) {
        (void)client.output->ClosePort();
        outputs_.push_back(std::move(client.output));
        return {std::move(opened), nullptr};
    }
    return {{},
            std::make_unique<RtMidiConnection>(std::move(client.output), outputs_, cycles_.get())};
}

RtMidiOutput::Created RtMidiSystem::LeaseOutput() {
    if (outputs_.empty()) return RtMidiOutput::Create(api_, kOutputClient, name_);
    RtMidiOutput::Created leased{{}, std::move(outputs_.back())};
    outputs_.pop_back();
    return leased;
}

BackendStatus RtMidiSystem::Settle(const std::string& port) const {
    if (!cycles_) return {};
    // RtMidi does not check JACK's answer to its connection request.
    if (cycles_->ConnectedFrom(kOutputClient, port) == Connection::Missing)
        return {MMSYSERR_ERROR, "JACK: could not connect to " + port};
    // A message sent before the connection is part of the graph would go nowhere.
    if (cycles_->WaitPast(cycles_->Count(), kCyclesToSettle, kSettleLimit) == CycleWait::TimedOut)
        return {MIDIERR_NOTREADY, "JACK: the server runs no process cycles"};
    return {};
}

RtMidiOutput::Created RtMidiSystem::CreateLastingPort(const std::string& name) {
    RtMidiOutput::Created created = RtMidiOutput::Create(api_, name, name_);
    if (!created.output) return created;
    if (BackendStatus opened = created.output->OpenVirtualPort(name);
        opened.code != MMSYSERR_NOERROR)
        return {std::move(opened), nullptr};
    return created;
}

std::unique_ptr<OutputConnection> RtMidiSystem::ConnectionOn(RtMidiOutput& lasting) const {
    return std::make_unique<RtMidiConnection>(lasting, cycles_.get());
}

}  // namespace voxtane::midi
