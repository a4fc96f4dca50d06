#include "voice/render_note.h"

#include <algorithm>
#include <cmath>

#include "voice/synth.h"

namespace voxtane::voice {

namespace {
constexpr double kLongestRenderSeconds = 600.0;

std::size_t Frames(double seconds, double sampleRate) {
    if (!(seconds > 0.0)) return 0;  // also NaN
    return static_cast<std::size_t>(
        std::llround(std::min(seconds, kLongestRenderSeconds) * sampleRate));
}
}  // namespace

std::vector<float> RenderNote(const DecodedTone& tone, int note, double holdSeconds,
                              double totalSeconds, double sampleRate) {
    constexpr int kAnyVelocity = 100;
    Synth synth(sampleRate, 1);
    synth.SetTone(tone);
    std::vector<float> sound(Frames(totalSeconds, synth.SampleRate()));
    const std::size_t hold = std::min(Frames(holdSeconds, synth.SampleRate()), sound.size());
    synth.NoteOn(note, kAnyVelocity);
    synth.Render({sound.data(), hold});
    synth.NoteOff(note);
    synth.Render({sound.data() + hold, sound.size() - hold});
    return sound;
}

}  // namespace voxtane::voice
