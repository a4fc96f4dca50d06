#include "explore/playability.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tone/default_tone.h"
#include "voice/synth.h"

namespace voxtane::explore {

bool Sounds(const DecodedTone& tone) {
    constexpr int kBlock = 256;
    constexpr int kAnyVelocity = 100;
    const auto frames = static_cast<int>(kCheckSeconds * kCheckSampleRate);
    voice::Synth synth(kCheckSampleRate, 1);
    synth.SetTone(tone);
    synth.NoteOn(kCheckNote, kAnyVelocity);
    std::array<float, kBlock> block{};
    for (int done = 0; done < frames; done += kBlock) {
        synth.Render(block);
        for (float sample : block)
            if (std::abs(sample) >= kAudiblePeak) return true;
    }
    return false;
}

Playability CheckPlayable(const ToneRecord& record) {
    const ToneDecoding decoding = DecodeTone(record, DefaultDecodedTone());
    if (!decoding.messages.empty()) return Playability::DecodingMessage;
    return Sounds(decoding.tone) ? Playability::Plays : Playability::Silent;
}

}  // namespace voxtane::explore
