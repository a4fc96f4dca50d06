#include "jack_midi_sink.h"

#include <jack/midiport.h>

#include <thread>

namespace voxtane::testing {

namespace {
using namespace std::chrono_literals;
constexpr std::size_t kRingSize = 1 << 16;
}  // namespace

std::unique_ptr<JackMidiSink> JackMidiSink::Open(const std::string& clientName) {
    std::unique_ptr<JackMidiSink> sink(new JackMidiSink());
    jack_status_t status{};
    sink->client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (sink->client_ == nullptr) return nullptr;
    sink->ring_ = jack_ringbuffer_create(kRingSize);
    sink->port_ =
        jack_port_register(sink->client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (sink->port_ == nullptr ||
        jack_set_process_callback(sink->client_, &JackMidiSink::OnProcess, sink.get()) != 0 ||
        jack_activate(sink->client_) != 0)
        return nullptr;
    return sink;
}

JackMidiSink::~JackMidiSink() {
    if (client_ != nullptr) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
    if (ring_ != nullptr) jack_ringbuffer_free(ring_);
}

// Each event goes into the ringbuffer as its size followed by its bytes.
int JackMidiSink::OnProcess(jack_nframes_t frames, void* self) {
    auto& sink = *static_cast<JackMidiSink*>(self);
    void* buffer = jack_port_get_buffer(sink.port_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        const std::uint32_t size = static_cast<std::uint32_t>(event.size);
        if (jack_ringbuffer_write_space(sink.ring_) < sizeof size + size) continue;
        jack_ringbuffer_write(sink.ring_, reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(sink.ring_, reinterpret_cast<const char*>(event.buffer), size);
    }
    sink.cycles_.fetch_add(1, std::memory_order_release);
    return 0;
}

void JackMidiSink::Drain() {
    std::uint32_t size = 0;
    // An event is taken only once its bytes are all in, as they are written after its size.
    while (jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&size), sizeof size) ==
               sizeof size &&
           jack_ringbuffer_read_space(ring_) >= sizeof size + size) {
        jack_ringbuffer_read_advance(ring_, sizeof size);
        Message message(size);
        jack_ringbuffer_read(ring_, reinterpret_cast<char*>(message.data()), size);
        received_.push_back(std::move(message));
    }
}

std::string JackMidiSink::PortName() const {
    return jack_port_name(port_);
}

std::vector<JackMidiSink::Message> JackMidiSink::WaitFor(std::size_t count,
                                                         std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (Drain(); received_.size() < count && std::chrono::steady_clock::now() < deadline; Drain())
        std::this_thread::sleep_for(5ms);
    return received_;
}

bool JackMidiSink::PortExists(const std::string& name) const {
    return jack_port_by_name(client_, name.c_str()) != nullptr;
}

bool JackMidiSink::ConnectFrom(const std::string& source) {
    if (jack_connect(client_, source.c_str(), PortName().c_str()) != 0) return false;
    // The graph with the connection runs from the second cycle after the request at the latest.
    const std::uint64_t from = cycles_.load(std::memory_order_acquire);
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (cycles_.load(std::memory_order_acquire) < from + 3) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace voxtane::testing
