#pragma once

#include "voice/playing_tone.h"

// One eight-step envelope as it runs: each step moves in a straight line from the level before
// it to its own level at its rate; the sustain step holds while the key is held; after the key
// is released the envelope goes on from the step after the sustain step; at the end step it
// stays at that step's level. The voice and the graphs both run it through this class.
namespace voxtane::voice {

enum class EnvelopeStage { kMoving, kSustaining, kEnded };

class Envelope {
  public:
    // At note-on: level 0, moving toward step 1.
    void Start();
    // Key released: a step not yet past the sustain step goes straight on after it.
    void Release(const EnvelopeRule& rule);
    // Moves on by `seconds`; every step's time is multiplied by `timeScale` (key follow).
    void Advance(const EnvelopeRule& rule, double seconds, double timeScale);

    // Seconds until the moving step reaches its level (0 when not moving).
    [[nodiscard]] double SecondsToArrival(const EnvelopeRule& rule, double timeScale) const;
    // Puts the moving step at its level at once and goes on to whatever follows it.
    void Arrive(const EnvelopeRule& rule);

    [[nodiscard]] double Level() const { return level_; }
    [[nodiscard]] EnvelopeStage Stage() const { return stage_; }
    [[nodiscard]] int StepIndex() const { return step_; }  // element 0 to 7

  private:
    void Settle(const EnvelopeRule& rule);

    int step_ = 0;
    double level_ = 0.0;
    EnvelopeStage stage_ = EnvelopeStage::kMoving;
    bool released_ = false;
};

}  // namespace voxtane::voice
