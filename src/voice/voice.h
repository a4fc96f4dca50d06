#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "voice/envelope.h"
#include "voice/noise.h"
#include "voice/playing_tone.h"
#include "voice/vibrato.h"
#include "voice/waveform.h"

// One voice: one or two lines, each an oscillator read through its waveform shape, with its
// DCA, DCW and DCO envelopes, and the voice's vibrato. Envelopes, pitch and shapes are worked
// out once per control block; the samples within a block only read them.
namespace voxtane::voice {

// Control blocks end on a fixed grid of this many frames counted from the synth's first frame,
// so the sound does not depend on how the host splits its buffers.
inline constexpr int kControlFrames = 16;

class Voice {
  public:
    // Plays `note` from the next control block, or, when the voice still sounds, after a short
    // fade of what it plays. `order` ranks notes by age; `noiseSeed` seeds its noise.
    void Play(int note, std::uint64_t order, std::uint32_t noiseSeed);
    void Release(const PlayingTone& tone);
    // Fades out and falls silent without a new note.
    void FadeOut();

    [[nodiscard]] bool IsActive() const { return active_; }
    // Fading out with no note to play after: the voice no longer counts as playing.
    [[nodiscard]] bool IsDying() const { return fading_ && !pending_; }
    [[nodiscard]] bool IsHeld() const { return pending_ ? !pendingReleased_ : held_; }
    [[nodiscard]] int Note() const { return pending_ ? pendingNote_ : note_; }
    [[nodiscard]] std::uint64_t Order() const { return pending_ ? pendingOrder_ : order_; }

    // Adds the next mix.size() frames into `mix`. The grid is framesToGrid frames ahead;
    // mix.size() must not exceed it.
    void Render(const PlayingTone& tone, double sampleRate, std::span<float> mix, int framesToGrid);

  private:
    struct Line {
        std::uint32_t phase = 0;
        std::uint32_t increment = 0;
        bool secondWave = false;  // the line alternates waveform 1 and 2 cycle by cycle
        Envelope dca;
        Envelope dcw;
        Envelope dco;
        float gain = 0.0f;
        float gainStep = 0.0f;
        float gainAtBlockEnd = 0.0f;
        std::array<WaveShape, 2> shapes{};
    };

    void Start();
    void BeginBlock(const PlayingTone& tone, double sampleRate, int frames);
    void RenderLine(Line& line, std::span<float> out);
    void EndBlock();

    std::array<Line, kMaxLines> lines_{};
    Vibrato vibrato_;
    Noise noise_;
    int note_ = 60;
    std::uint64_t order_ = 0;
    bool active_ = false;
    bool held_ = false;
    int lineCount_ = 1;
    int modulation_ = 0;
    int blockFramesLeft_ = 0;
    bool silentAfterBlock_ = false;

    // A fade before a new note (stealing) or before silence.
    bool fading_ = false;
    float fadeGain_ = 1.0f;
    bool pending_ = false;
    int pendingNote_ = 0;
    std::uint64_t pendingOrder_ = 0;
    std::uint32_t pendingSeed_ = 1;
    bool pendingReleased_ = false;
};

}  // namespace voxtane::voice
