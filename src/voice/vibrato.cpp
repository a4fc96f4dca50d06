#include "voice/vibrato.h"

#include <algorithm>
#include <cmath>

namespace voxtane::voice {

double VibratoShape(VibratoWave wave, double phase) {
    switch (wave) {
        case VibratoWave::kTriangle:
            return phase < 0.25 ? 4.0 * phase
                                : (phase < 0.75 ? 2.0 - 4.0 * phase : 4.0 * phase - 4.0);
        case VibratoWave::kRisingSaw:
            return phase < 0.5 ? 2.0 * phase : 2.0 * phase - 2.0;
        case VibratoWave::kFallingSaw:
            return phase < 0.5 ? -2.0 * phase : 2.0 - 2.0 * phase;
        case VibratoWave::kSquare:
            return phase < 0.5 ? 1.0 : -1.0;
    }
    return 0.0;
}

double Vibrato::Advance(const VibratoRule& rule, double seconds) {
    const double before = sinceNoteOn_;
    sinceNoteOn_ += seconds;
    if (sinceNoteOn_ <= rule.delaySeconds) return 0.0;
    const double running = sinceNoteOn_ - std::max(before, rule.delaySeconds);
    phase_ += running * rule.hz;
    phase_ -= std::floor(phase_);
    return rule.peakSemitones * VibratoShape(rule.wave, phase_);
}

}  // namespace voxtane::voice
