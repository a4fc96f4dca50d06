#pragma once

#include <array>
#include <atomic>

#include "tone/decoded_tone.h"

// Hands tones from one thread (the window) to another (the audio thread) without locks or
// allocation: a triple buffer. The writer fills a slot of its own and swaps it into the middle;
// the reader swaps the middle for its own slot when it holds something new. Neither ever
// waits, and the reader always gets the newest tone published.
namespace voxtane::voice {

class ToneMailbox {
  public:
    // Writer thread only.
    void Publish(const DecodedTone& tone) {
        slots_[writeSlot_] = tone;
        const int previous = middle_.exchange(writeSlot_ | kFresh, std::memory_order_acq_rel);
        writeSlot_ = previous & kSlotMask;
    }

    // Reader thread only. The newest tone published since the last call, or nullptr. The tone
    // stays valid until the next call.
    [[nodiscard]] const DecodedTone* TakeNewest() {
        if ((middle_.load(std::memory_order_relaxed) & kFresh) == 0) return nullptr;
        const int previous = middle_.exchange(readSlot_, std::memory_order_acq_rel);
        readSlot_ = previous & kSlotMask;
        return &slots_[readSlot_];
    }

  private:
    static constexpr int kSlotMask = 3;
    static constexpr int kFresh = 4;
    static_assert(std::atomic<int>::is_always_lock_free);

    std::array<DecodedTone, 3> slots_{};
    int writeSlot_ = 0;
    int readSlot_ = 1;
    std::atomic<int> middle_{2};
};

}  // namespace voxtane::voice
