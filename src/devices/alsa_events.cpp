#include "devices/alsa_events.h"

#include "midi/synth_messages.h"

namespace voxtane::devices {

namespace {
// Room for the longest message that is not SysEx.
constexpr std::size_t kEncoderBuffer = 16;

[[nodiscard]] bool IsSysexPiece(std::uint8_t first) {
    return first == kSysexStart || first == kSysexEnd || first < 0x80;
}
}  // namespace

AlsaEventBuilder::AlsaEventBuilder() {
    if (snd_midi_event_new(kEncoderBuffer, &encoder_) < 0) encoder_ = nullptr;
}

AlsaEventBuilder::~AlsaEventBuilder() {
    if (encoder_ != nullptr) snd_midi_event_free(encoder_);
}

AlsaEvents AlsaEventBuilder::Build(std::span<const std::uint8_t> piece) {
    AlsaEvents built;
    if (piece.empty()) return built;
    if (IsSysexPiece(piece.front())) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        // alsa-lib takes the bytes as non-const but only reads them.
        snd_seq_ev_set_sysex(&event, static_cast<unsigned int>(piece.size()),
                             const_cast<std::uint8_t*>(piece.data()));
        built.events.push_back(event);
        return built;
    }
    if (encoder_ == nullptr) return {{}, "ALSA: no MIDI event encoder"};
    // Every piece starts afresh: nothing of an earlier one is taken as running status.
    snd_midi_event_reset_encode(encoder_);
    std::size_t offset = 0;
    while (offset < piece.size()) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        const long used = snd_midi_event_encode(encoder_, piece.data() + offset,
                                                static_cast<long>(piece.size() - offset), &event);
        if (used <= 0) return {{}, "ALSA: the MIDI bytes do not make an event"};
        offset += static_cast<std::size_t>(used);
        if (event.type == SND_SEQ_EVENT_NONE) {
            if (offset < piece.size()) continue;
            return {{}, "ALSA: the message is incomplete"};
        }
        built.events.push_back(event);
    }
    return built;
}

}  // namespace voxtane::devices
