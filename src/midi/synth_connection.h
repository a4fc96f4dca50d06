#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/message_sink.h"
#include "midi/midi_backend.h"

namespace voxtane::midi {

// The devices of an exchange with the synth, open from Open to Close: the output the exchange
// machines send through, and the input whose messages they are fed, when there is one. Unlike
// "Send Patch", an exchange keeps its devices open from its first message to its last: opening a
// device for every message would cost more time than the messages themselves.
class SynthConnection : public MessageSink {
  public:
    struct Opened {
        BackendStatus status;
        std::string device;  // the device that failed to open, for the message
        std::unique_ptr<SynthConnection> connection;
    };
    // `output` as the editor's senders compute a device id (-1: the program's own default
    // output), a device of the backend's last listing, or nothing for an input alone; `input`
    // "" for none.
    [[nodiscard]] static Opened Open(MidiBackend& backend, std::optional<std::int32_t> output,
                                     const std::string& input);
    ~SynthConnection() override;
    SynthConnection(const SynthConnection&) = delete;
    SynthConnection& operator=(const SynthConnection&) = delete;

    SinkStatus Send(std::span<const std::uint8_t> message) override;
    // What arrived at the input since the last call; nothing without an input.
    [[nodiscard]] std::vector<std::vector<std::uint8_t>> Received();
    [[nodiscard]] bool HasInput() const { return input_ != nullptr; }
    // `now` less the time since the open in which the devices could carry nothing (the longer
    // of the output's and the input's): the time the exchange machines are to count while this
    // connection is open. It never goes back.
    [[nodiscard]] std::chrono::steady_clock::time_point Time(
        std::chrono::steady_clock::time_point now);
    // Closes both devices; the first failure is the result.
    [[nodiscard]] BackendStatus Close();

  private:
    SynthConnection(std::unique_ptr<OutputConnection> output,
                    std::unique_ptr<InputConnection> input)
        : output_(std::move(output)), input_(std::move(input)) {}

    std::unique_ptr<OutputConnection> output_;
    std::unique_ptr<InputConnection> input_;
    std::chrono::steady_clock::time_point lastTime_{};
};

}  // namespace voxtane::midi
