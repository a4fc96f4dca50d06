#include "simulated_synth.h"

#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace voxtane::testing {

namespace {
using namespace std::chrono_literals;
constexpr std::size_t kRingBytes = 1 << 16;
// Piece sizes taken in turn: a lone byte, pieces that end inside the acknowledgement, inside
// the data, and with the answer's F7 separate from its data.
constexpr std::array<std::size_t, 6> kPieceSizes{5, 1, 100, 63, 93, 7};
constexpr std::uint64_t kWireBytesPerSecond = 31'250 / 10;  // 8 data bits, start and stop bit
constexpr std::uint64_t kMicroseconds = 1'000'000;
}  // namespace

std::unique_ptr<SimulatedSynth> SimulatedSynth::Open(const std::string& clientName) {
    std::unique_ptr<SimulatedSynth> synth(new SimulatedSynth());
    jack_status_t status{};
    synth->client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (synth->client_ == nullptr) return nullptr;
    synth->received_ = jack_ringbuffer_create(kRingBytes);
    synth->toSend_ = jack_ringbuffer_create(kRingBytes);
    synth->in_ =
        jack_port_register(synth->client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    synth->out_ =
        jack_port_register(synth->client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (synth->in_ == nullptr || synth->out_ == nullptr) return nullptr;
    synth->answering_ =
        std::jthread([raw = synth.get()](std::stop_token stop) { raw->Answer(stop); });
    if (jack_set_process_callback(synth->client_, &SimulatedSynth::OnProcess, synth.get()) != 0 ||
        jack_activate(synth->client_) != 0)
        return nullptr;
    return synth;
}

SimulatedSynth::~SimulatedSynth() {
    // The callback and the thread both use the ringbuffers: both stop before they go.
    if (client_ != nullptr) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
    if (answering_.joinable()) {
        answering_.request_stop();
        answering_.join();
    }
    if (received_ != nullptr) jack_ringbuffer_free(received_);
    if (toSend_ != nullptr) jack_ringbuffer_free(toSend_);
}

std::string SimulatedSynth::InputPortName() const {
    return jack_port_name(in_);
}
std::string SimulatedSynth::OutputPortName() const {
    return jack_port_name(out_);
}

void SimulatedSynth::SetBehaviour(const SynthBehaviour& behaviour) {
    const std::lock_guard lock(mutex_);
    responder_.SetBehaviour(behaviour);
}

void SimulatedSynth::Store(midi::SynthMemory memory, const ToneRecord& tone) {
    const std::lock_guard lock(mutex_);
    responder_.Store(memory, tone);
}

ToneRecord SimulatedSynth::Stored(midi::SynthMemory memory) const {
    const std::lock_guard lock(mutex_);
    return responder_.Stored(memory);
}

std::vector<std::uint8_t> SimulatedSynth::Heard() const {
    const std::lock_guard lock(mutex_);
    return heard_;
}

int SimulatedSynth::OnProcess(jack_nframes_t frames, void* self) {
    auto& synth = *static_cast<SimulatedSynth*>(self);
    synth.TakeInput(jack_port_get_buffer(synth.in_, frames));
    if (synth.whole_.load(std::memory_order_relaxed)) synth.AnswerInCycle();
    synth.SendOutput(jack_port_get_buffer(synth.out_, frames));
    return 0;
}

// What arrives goes on as a plain byte stream: where the sender's messages began and ended does
// not matter to the synth.
void SimulatedSynth::TakeInput(void* buffer) {
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        if (jack_ringbuffer_write_space(received_) < event.size) continue;
        jack_ringbuffer_write(received_, reinterpret_cast<const char*>(event.buffer), event.size);
    }
}

// The wire runs in real time: when the server's cycles come late, as on a busy machine, the
// bytes that came over the wire meanwhile go on together, as a MIDI interface's driver hands
// them on.
void SimulatedSynth::SendOutput(void* buffer) {
    jack_midi_clear_buffer(buffer);
    const std::size_t waiting = jack_ringbuffer_read_space(toSend_);
    const jack_time_t now = jack_get_time();
    const jack_time_t elapsed = wireClock_ == 0 ? 0 : now - wireClock_;
    wireClock_ = now;
    std::size_t bytes = 0;
    if (waiting == 0) {
        wireCredit_ = 0;  // an idle wire saves up no bytes
        return;
    }
    if (wireSpeed_.load(std::memory_order_relaxed)) {
        wireCredit_ += elapsed * kWireBytesPerSecond;
        bytes = static_cast<std::size_t>(wireCredit_ / kMicroseconds);
        wireCredit_ %= kMicroseconds;
    } else if (whole_.load(std::memory_order_relaxed)) {
        bytes = waiting;
    } else {
        bytes = kPieceSizes[nextPiece_];
        nextPiece_ = (nextPiece_ + 1) % kPieceSizes.size();
    }
    bytes = std::min(bytes, waiting);
    if (bytes == 0) return;
    jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, bytes);
    if (event == nullptr) return;
    jack_ringbuffer_read(toSend_, reinterpret_cast<char*>(event), bytes);
}

// The fastest synth: it answers within the cycle that brought the request, unless the test is
// changing it just then (the next cycle answers).
void SimulatedSynth::AnswerInCycle() {
    const std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return;
    inCycleAnswer_.clear();
    char byte = 0;
    while (jack_ringbuffer_read(received_, &byte, 1) == 1) {
        heard_.push_back(static_cast<std::uint8_t>(byte));
        responder_.Feed(static_cast<std::uint8_t>(byte), inCycleAnswer_);
    }
    if (jack_ringbuffer_write_space(toSend_) >= inCycleAnswer_.size())
        jack_ringbuffer_write(toSend_, reinterpret_cast<const char*>(inCycleAnswer_.data()),
                              inCycleAnswer_.size());
}

void SimulatedSynth::Answer(std::stop_token stop) {
    std::vector<char> incoming(kRingBytes);
    std::vector<std::uint8_t> answer;
    while (!stop.stop_requested()) {
        // With whole answers the process callback answers itself.
        const std::size_t count =
            whole_.load(std::memory_order_relaxed)
                ? 0
                : jack_ringbuffer_read(received_, incoming.data(), incoming.size());
        if (whole_.load(std::memory_order_relaxed) || count == 0) {
            std::this_thread::sleep_for(1ms);
            continue;
        }
        answer.clear();
        {
            const std::lock_guard lock(mutex_);
            for (std::size_t i = 0; i < count; ++i) {
                heard_.push_back(static_cast<std::uint8_t>(incoming[i]));
                responder_.Feed(static_cast<std::uint8_t>(incoming[i]), answer);
            }
        }
        // All that answers one batch is queued at once: a write's acknowledgement and its F7
        // follow the data together, as they come from the instrument through MIDI systems that
        // pass on whole messages.
        if (jack_ringbuffer_write_space(toSend_) >= answer.size())
            jack_ringbuffer_write(toSend_, reinterpret_cast<const char*>(answer.data()),
                                  answer.size());
    }
}

}  // namespace voxtane::testing
