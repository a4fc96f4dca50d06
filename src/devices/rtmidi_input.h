#pragma once

#include <rtmidi/RtMidi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/midi_backend.h"

namespace voxtane::devices {

// An RtMidi input client connected to one port, SysEx included. RtMidi queues what arrives;
// Received takes it out. Its warnings and errors become results, as the outputs' do.
class RtMidiInput : public midi::InputConnection {
  public:
    [[nodiscard]] static midi::OpenedInput Open(RtMidi::Api api, const std::string& clientName,
                                                const std::string& systemName,
                                                const std::string& port);

    [[nodiscard]] std::vector<std::vector<std::uint8_t>> Received() override;
    [[nodiscard]] midi::BackendStatus Close() override;

  private:
    explicit RtMidiInput(std::string systemName) : systemName_(std::move(systemName)) {}
    static void OnError(RtMidiError::Type type, const std::string& text, void* self);
    [[nodiscard]] midi::BackendStatus TakeCaught();

    std::string systemName_;
    std::optional<std::string> caught_;
    std::unique_ptr<RtMidiIn> in_;  // after caught_: RtMidi may report while it closes
};

}  // namespace voxtane::devices
