#include "voice/live_voice.h"

namespace voxtane::voice {

namespace {
constexpr int kPressVelocity = 100;
}  // namespace

// A key pressed while the ring is full is dropped rather than waited for: the window never
// waits on the audio thread.
void LiveVoice::Queue(KeyEvent event) {
    const std::uint64_t written = written_.load(std::memory_order_relaxed);
    if (written - read_.load(std::memory_order_acquire) >= kRing) return;
    ring_[written % kRing] = event;
    written_.store(written + 1, std::memory_order_release);
}

void LiveVoice::Render(std::span<float> mono) {
    if (const DecodedTone* tone = mailbox_.TakeNewest()) synth_.SetTone(*tone);
    const std::uint64_t written = written_.load(std::memory_order_acquire);
    std::uint64_t read = read_.load(std::memory_order_relaxed);
    for (; read < written; ++read) {
        const KeyEvent& event = ring_[read % kRing];
        switch (event.key) {
            case Key::Press:
                synth_.NoteOn(event.note, kPressVelocity);
                break;
            case Key::Release:
                synth_.NoteOff(event.note);
                break;
            case Key::ReleaseAll:
                synth_.AllNotesOff();
                break;
        }
    }
    read_.store(read, std::memory_order_release);
    synth_.Render(mono);
}

}  // namespace voxtane::voice
