#include "jack_timing_sink.h"

#include <jack/midiport.h>

#include <thread>

namespace voxtane::bench {

std::unique_ptr<JackTimingSink> JackTimingSink::Open(const std::string& clientName) {
    std::unique_ptr<JackTimingSink> sink(new JackTimingSink());
    jack_status_t status{};
    sink->client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (sink->client_ == nullptr) return nullptr;
    sink->port_ =
        jack_port_register(sink->client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (sink->port_ == nullptr ||
        jack_set_process_callback(sink->client_, &JackTimingSink::OnProcess, sink.get()) != 0 ||
        jack_activate(sink->client_) != 0)
        return nullptr;
    return sink;
}

JackTimingSink::~JackTimingSink() {
    if (client_ != nullptr) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
}

// Runs in the server's process cycle: no locks and no allocation, only atomics.
int JackTimingSink::OnProcess(jack_nframes_t frames, void* self) {
    auto& sink = *static_cast<JackTimingSink*>(self);
    void* buffer = jack_port_get_buffer(sink.port_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0) continue;
        if (event.buffer[event.size - 1] != 0xF7) continue;
        const auto now =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
                .count();
        sink.lastAt_.store(now, std::memory_order_relaxed);
        sink.lastSize_.store(event.size, std::memory_order_relaxed);
        sink.count_.fetch_add(1, std::memory_order_release);
    }
    return 0;
}

std::string JackTimingSink::PortName() const {
    return jack_port_name(port_);
}
jack_nframes_t JackTimingSink::PeriodFrames() const {
    return jack_get_buffer_size(client_);
}
jack_nframes_t JackTimingSink::SampleRate() const {
    return jack_get_sample_rate(client_);
}

JackTimingSink::Arrival JackTimingSink::Last() const {
    Arrival arrival;
    arrival.count = count_.load(std::memory_order_acquire);
    arrival.at =
        Clock::time_point(std::chrono::nanoseconds(lastAt_.load(std::memory_order_relaxed)));
    arrival.size = lastSize_.load(std::memory_order_relaxed);
    return arrival;
}

JackTimingSink::Arrival JackTimingSink::WaitPast(std::uint64_t count,
                                                 std::chrono::milliseconds limit) const {
    const auto deadline = Clock::now() + limit;
    for (Arrival arrival = Last();; arrival = Last()) {
        if (arrival.count > count) return arrival;
        if (Clock::now() > deadline) return {};
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

}  // namespace voxtane::bench
