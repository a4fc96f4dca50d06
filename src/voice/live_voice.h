#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "voice/synth.h"
#include "voice/tone_mailbox.h"

namespace voxtane::voice {

// The voice as it plays live: the window's thread publishes the tone and presses and releases
// keys; the audio thread renders, taking the newest tone and the keys pressed since its last
// block first. Between the two threads nothing locks or allocates: a triple buffer for the tone
// and a ring of key events.
class LiveVoice {
  public:
    explicit LiveVoice(double sampleRate) : synth_(sampleRate) {}
    LiveVoice(const LiveVoice&) = delete;
    LiveVoice& operator=(const LiveVoice&) = delete;

    // The window's thread.
    void Publish(const DecodedTone& tone) { mailbox_.Publish(tone); }
    void Press(int note) { Queue({Key::Press, note}); }
    void Release(int note) { Queue({Key::Release, note}); }
    void ReleaseAll() { Queue({Key::ReleaseAll, 0}); }
    [[nodiscard]] LevelMeter Meter() const { return synth_.Meter(); }
    [[nodiscard]] double SampleRate() const { return synth_.SampleRate(); }
    // Key events counted since start, for tests and the meter: pressed, and taken by Render.
    [[nodiscard]] std::uint64_t KeysTaken() const { return read_.load(std::memory_order_acquire); }

    // The audio thread.
    void Render(std::span<float> mono);

  private:
    enum class Key : std::uint8_t { Press, Release, ReleaseAll };
    struct KeyEvent {
        Key key;
        int note;
    };
    static constexpr std::size_t kRing = 256;  // more keys than hands press within one block

    void Queue(KeyEvent event);

    Synth synth_;
    ToneMailbox mailbox_;
    std::array<KeyEvent, kRing> ring_{};
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
};

}  // namespace voxtane::voice
