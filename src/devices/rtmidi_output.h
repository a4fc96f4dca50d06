#pragma once

#include <rtmidi/RtMidi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/midi_backend.h"

namespace voxtane::devices {

// One RtMidi output client, which lists the ports that take output, and whose every warning and
// error becomes the result of the call that caused it: RtMidi reports through its error callback
// and otherwise goes on as if nothing had happened, so each call below checks what the callback
// caught.
class RtMidiOutput {
  public:
    struct Created {
        midi::BackendStatus status;
        std::unique_ptr<RtMidiOutput> output;  // set exactly when status has no error
    };
    // `systemName` ("ALSA", "JACK") introduces the reasons of failures.
    [[nodiscard]] static Created Create(RtMidi::Api api, const std::string& clientName,
                                        const std::string& systemName);

    [[nodiscard]] midi::BackendStatus PortNames(std::vector<std::string>& names);

  private:
    struct Caught {
        RtMidiError::Type type;
        std::string text;
    };
    explicit RtMidiOutput(std::string systemName) : systemName_(std::move(systemName)) {}
    static void OnError(RtMidiError::Type type, const std::string& text, void* self);
    // The first failure caught since the last call, as a result; no error when none was.
    [[nodiscard]] midi::BackendStatus TakeCaught();
    [[nodiscard]] midi::BackendStatus FromError(RtMidiError::Type type,
                                                const std::string& text) const;
    template <class Call>
    [[nodiscard]] midi::BackendStatus Checked(Call&& call);

    std::string systemName_;
    std::optional<Caught> caught_;
    std::unique_ptr<RtMidiOut> out_;  // after caught_: RtMidi may report while it closes
};

}  // namespace voxtane::devices
