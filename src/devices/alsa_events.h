#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace voxtane::devices {

// The sequencer events that carry one piece of MIDI bytes out of an ALSA sequencer port.
struct AlsaEvents {
    std::vector<snd_seq_event_t> events;
    std::string problem;  // why the piece cannot go; no events then
};

// Turns pieces of MIDI into sequencer events without a sequencer, so that it can be checked on
// any machine. A piece of SysEx (one that starts with F0, or goes on with or closes a SysEx
// message left open) becomes one variable-length SysEx event holding every byte as given:
// alsa-lib's byte encoder would hold a SysEx back until its F7, so the open request of a fetch
// would never leave, and the synth's answer comes only after that request. Other messages go
// through the encoder and must be whole.
class AlsaEventBuilder {
  public:
    AlsaEventBuilder();
    ~AlsaEventBuilder();
    AlsaEventBuilder(const AlsaEventBuilder&) = delete;
    AlsaEventBuilder& operator=(const AlsaEventBuilder&) = delete;

    // SysEx events point into `piece`, which must outlive them. Source, destination and
    // timing are left for the sender to set.
    [[nodiscard]] AlsaEvents Build(std::span<const std::uint8_t> piece);

  private:
    snd_midi_event_t* encoder_ = nullptr;
};

}  // namespace voxtane::devices
