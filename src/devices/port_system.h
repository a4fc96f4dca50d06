#pragma once

#include <optional>
#include <string>
#include <vector>

#include "midi/midi_backend.h"

namespace voxtane::devices {

// One MIDI system of the machine (the ALSA sequencer, a JACK server) as the backend of the
// real devices sees it: ports to send to, and a port of the program's own.
class PortSystem {
  public:
    virtual ~PortSystem() = default;

    [[nodiscard]] virtual const std::string& Name() const = 0;  // "ALSA", "JACK"
    // The ports that take output now; none when the system fails to list them.
    [[nodiscard]] virtual std::vector<std::string> PortNames() = 0;
    // An output of the program's own connected to the port of this name.
    [[nodiscard]] virtual midi::OpenedOutput Open(const std::string& port) = 0;
    // The program's own port of this name, which other programs connect to: made on the first
    // call, kept for the run; closing a connection over it leaves it in place.
    [[nodiscard]] virtual midi::OpenedOutput OpenLasting(const std::string& name) = 0;

    // The ports that give MIDI now, and an input of the program's own connected from one.
    [[nodiscard]] virtual std::vector<std::string> InputPortNames() = 0;
    [[nodiscard]] virtual midi::OpenedInput OpenInput(const std::string& port) = 0;

    // What the user should learn of that happened outside any operation (a server that
    // stopped), once; nothing when there is nothing new.
    [[nodiscard]] virtual std::optional<std::string> TakeNotice() { return std::nullopt; }
};

}  // namespace voxtane::devices
