#pragma once

#include <rtmidi/RtMidi.h>

#include <memory>
#include <string>
#include <vector>

#include "midi/jack_cycles.h"
#include "midi/midi_backend.h"
#include "midi/rtmidi_connection.h"
#include "midi/rtmidi_output.h"

namespace voxtane::midi {

enum class MidiSystem { AlsaSequencer, Jack };

// One MIDI system reached through RtMidi, with a client of its own that lists its ports.
class RtMidiSystem {
  public:
    // Nothing, silently, when the system does not start here.
    [[nodiscard]] static std::unique_ptr<RtMidiSystem> Start(MidiSystem which);

    [[nodiscard]] const std::string& Name() const { return name_; }  // "ALSA", "JACK"
    // The ports that take output now; none when the system fails to list them.
    [[nodiscard]] std::vector<std::string> PortNames();
    // Connects a client of its own to the port of this name.
    [[nodiscard]] OpenedOutput Open(const std::string& port);
    // Creates a port of the program's own that other programs connect to.
    [[nodiscard]] RtMidiOutput::Created CreateLastingPort(const std::string& name);
    // A connection over such a port; closing it leaves the port in place.
    [[nodiscard]] std::unique_ptr<OutputConnection> ConnectionOn(RtMidiOutput& lasting) const;

  private:
    RtMidiSystem(RtMidi::Api api, std::string name) : api_(api), name_(std::move(name)) {}
    [[nodiscard]] BackendStatus Settle(const std::string& port) const;
    // A client for connecting to a device: a kept one, or a new one when all are in use.
    [[nodiscard]] RtMidiOutput::Created LeaseOutput();

    RtMidi::Api api_;
    std::string name_;
    std::unique_ptr<JackCycles> cycles_;  // JACK only
    std::unique_ptr<RtMidiOutput> lister_;
    OutputPool outputs_;
};

}  // namespace voxtane::midi
