#pragma once

#include <rtmidi/RtMidi.h>

#include <memory>
#include <string>
#include <vector>

#include "devices/alsa_sequencer_output.h"
#include "devices/port_system.h"
#include "devices/rtmidi_output.h"

namespace voxtane::devices {

// The ALSA sequencer: RtMidi lists its ports and takes its input; output goes through clients
// of the program's own (see AlsaSequencerOutput), which send SysEx in the pieces given.
class RtMidiSystem : public PortSystem {
  public:
    // Nothing, silently, when the sequencer does not start here.
    [[nodiscard]] static std::unique_ptr<RtMidiSystem> StartAlsa();

    [[nodiscard]] const std::string& Name() const override { return name_; }
    [[nodiscard]] std::vector<std::string> PortNames() override;
    // Connects a client of its own to the port of this name.
    [[nodiscard]] midi::OpenedOutput Open(const std::string& port) override;
    [[nodiscard]] midi::OpenedOutput OpenLasting(const std::string& name) override;
    [[nodiscard]] std::vector<std::string> InputPortNames() override;
    [[nodiscard]] midi::OpenedInput OpenInput(const std::string& port) override;

  private:
    RtMidiSystem(RtMidi::Api api, std::string name) : api_(api), name_(std::move(name)) {}
    // A client for connecting to a device: a kept one, or a new one when all are in use.
    [[nodiscard]] AlsaSequencerOutput::Created LeaseOutput();

    RtMidi::Api api_;
    std::string name_;
    std::unique_ptr<RtMidiOutput> lister_;
    AlsaOutputPool outputs_;
    std::unique_ptr<AlsaSequencerOutput> lasting_;
};

}  // namespace voxtane::devices
