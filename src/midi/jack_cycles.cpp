#include "midi/jack_cycles.h"

#include <thread>

namespace voxtane::midi {

std::unique_ptr<JackCycles> JackCycles::Start(const std::string& clientName) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (client == nullptr) return nullptr;
    std::unique_ptr<JackCycles> cycles(new JackCycles(client));
    if (jack_set_process_callback(client, &JackCycles::OnProcess, cycles.get()) != 0 ||
        jack_activate(client) != 0)
        return nullptr;
    return cycles;
}

JackCycles::~JackCycles() {
    jack_deactivate(client_);
    jack_client_close(client_);
}

int JackCycles::OnProcess(jack_nframes_t /*frames*/, void* self) {
    static_cast<JackCycles*>(self)->cycles_.fetch_add(1, std::memory_order_release);
    return 0;
}

CycleWait JackCycles::WaitPast(std::uint64_t from, std::uint64_t cycles,
                               std::chrono::milliseconds limit) const {
    constexpr std::chrono::milliseconds kStep{1};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Count() < from + cycles) {
        if (std::chrono::steady_clock::now() >= deadline) return CycleWait::TimedOut;
        std::this_thread::sleep_for(kStep);
    }
    return CycleWait::Passed;
}

Connection JackCycles::ConnectedFrom(const std::string& sourceClient,
                                     const std::string& destination) const {
    jack_port_t* port = jack_port_by_name(client_, destination.c_str());
    if (port == nullptr) return Connection::Missing;
    const char** sources = jack_port_get_all_connections(client_, port);
    if (sources == nullptr) return Connection::Missing;
    Connection found = Connection::Missing;
    for (const char** source = sources; *source != nullptr; ++source)
        if (std::string(*source).starts_with(sourceClient)) found = Connection::Made;
    jack_free(sources);
    return found;
}

}  // namespace voxtane::midi
