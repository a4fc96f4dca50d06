#include "devices/alsa_sequencer_output.h"

namespace voxtane::devices {

midi::BackendStatus AlsaSequencerOutput::Failure(const std::string& what, int error) {
    return {
        error == -ENOENT || error == -ENODEV ? midi::MMSYSERR_BADDEVICEID : midi::MMSYSERR_ERROR,
        "ALSA: " + what + " (" + snd_strerror(error) + ")"};
}

AlsaSequencerOutput::Created AlsaSequencerOutput::Create(const std::string& clientName,
                                                         const std::string& portName) {
    std::unique_ptr<AlsaSequencerOutput> output(new AlsaSequencerOutput);
    // Blocking: should the sequencer's memory for events be full, a send waits for room rather
    // than dropping part of a message.
    if (const int rc = snd_seq_open(&output->sequencer_, "default", SND_SEQ_OPEN_OUTPUT, 0);
        rc < 0) {
        output->sequencer_ = nullptr;
        return {Failure("the sequencer does not open", rc), nullptr};
    }
    (void)snd_seq_set_client_name(output->sequencer_, clientName.c_str());
    output->port_ = snd_seq_create_simple_port(
        output->sequencer_, portName.c_str(), SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (output->port_ < 0) return {Failure("no port could be made", output->port_), nullptr};
    return {{}, std::move(output)};
}

AlsaSequencerOutput::~AlsaSequencerOutput() {
    if (sequencer_ != nullptr) snd_seq_close(sequencer_);
}

midi::BackendStatus AlsaSequencerOutput::ConnectTo(const std::string& address) {
    snd_seq_addr_t destination{};
    if (const int rc = snd_seq_parse_address(sequencer_, &destination, address.c_str()); rc < 0)
        return Failure("no port at " + address, rc);
    if (const int rc = snd_seq_connect_to(sequencer_, port_, destination.client, destination.port);
        rc < 0)
        return Failure("could not connect to " + address, rc);
    connected_ = destination;
    return {};
}

midi::BackendStatus AlsaSequencerOutput::Disconnect() {
    if (!connected_) return {};
    const snd_seq_addr_t destination = *connected_;
    connected_.reset();
    if (const int rc =
            snd_seq_disconnect_to(sequencer_, port_, destination.client, destination.port);
        rc < 0)
        return Failure("could not disconnect", rc);
    return {};
}

midi::BackendStatus AlsaSequencerOutput::Send(std::span<const std::uint8_t> piece) {
    AlsaEvents built = builder_.Build(piece);
    if (!built.problem.empty()) return {midi::MMSYSERR_INVALPARAM, std::move(built.problem)};
    for (snd_seq_event_t& event : built.events) {
        snd_seq_ev_set_source(&event, port_);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        if (const int rc = snd_seq_event_output_direct(sequencer_, &event); rc < 0)
            return Failure("the message was not sent", rc);
    }
    return {};
}

midi::BackendStatus AlsaConnection::Close() {
    if (!leased_) return {};
    midi::BackendStatus closed = leased_->Disconnect();
    pool_->push_back(std::move(leased_));
    return closed;
}

}  // namespace voxtane::devices
