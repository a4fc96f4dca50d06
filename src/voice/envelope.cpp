#include "voice/envelope.h"

#include <cmath>

#include "voice/approximations.h"

namespace voxtane::voice {

namespace {

double LevelsPerSecond(const EnvelopeRule& rule, int step, double timeScale) {
    return kTopLevel / (rule.fullSwingSeconds[step] * timeScale);
}

bool HasSustain(const DecodedEnvelope& envelope) {
    return envelope.sustainStep < envelope.endStep;
}

}  // namespace

void Envelope::Start() {
    *this = Envelope{};
}

void Envelope::Release(const EnvelopeRule& rule) {
    released_ = true;
    const DecodedEnvelope& e = rule.envelope;
    if (stage_ != EnvelopeStage::kEnded && HasSustain(e) && step_ <= e.sustainStep) {
        step_ = e.sustainStep + 1;
        stage_ = EnvelopeStage::kMoving;
    }
}

// An edit while the note sounds can move the end step before the running step: the envelope
// then stays where it is.
void Envelope::Settle(const EnvelopeRule& rule) {
    if (stage_ == EnvelopeStage::kMoving && step_ > rule.envelope.endStep)
        stage_ = EnvelopeStage::kEnded;
}

double Envelope::SecondsToArrival(const EnvelopeRule& rule, double timeScale) const {
    if (stage_ != EnvelopeStage::kMoving || step_ > rule.envelope.endStep) return 0.0;
    const double distance = std::abs(rule.envelope.steps[step_].level - level_);
    return distance / LevelsPerSecond(rule, step_, timeScale);
}

void Envelope::Arrive(const EnvelopeRule& rule) {
    Settle(rule);
    if (stage_ != EnvelopeStage::kMoving) return;
    const DecodedEnvelope& e = rule.envelope;
    level_ = e.steps[step_].level;
    if (step_ == e.endStep)
        stage_ = EnvelopeStage::kEnded;
    else if (step_ == e.sustainStep && !released_)
        stage_ = EnvelopeStage::kSustaining;
    else
        ++step_;
}

void Envelope::Advance(const EnvelopeRule& rule, double seconds, double timeScale) {
    Settle(rule);
    // A step of no distance takes no time, so the loop may pass several steps; there are at
    // most eight before the envelope ends or holds.
    for (int passes = 0; passes <= kEnvelopeSteps && stage_ == EnvelopeStage::kMoving; ++passes) {
        const double needed = SecondsToArrival(rule, timeScale);
        if (needed > seconds) {
            const double move = LevelsPerSecond(rule, step_, timeScale) * seconds;
            level_ += rule.envelope.steps[step_].level > level_ ? move : -move;
            return;
        }
        seconds -= needed;
        Arrive(rule);
    }
}

}  // namespace voxtane::voice
