#include "qt/envelope_timing.h"

#include <cmath>

#include "voice/approximations.h"

namespace voxtane::qt {

double StepTimeScale(const DecodedTone& tone, EnvelopeId id, int note) {
    const EnvelopeSpec& spec = kEnvelopes[id];
    const DecodedLine& line = tone.lines[spec.line - 1];
    switch (spec.kind) {
        case EnvelopeKind::DCA:
            return voice::KeyFollowFactor(line.dcaKeyFollow, note);
        case EnvelopeKind::DCW:
            return voice::KeyFollowFactor(line.dcwKeyFollow, note);
        case EnvelopeKind::DCO:
            break;
    }
    return 1.0;
}

// A step moves linearly: `levels` take that fraction of the full swing's time.
double SecondsForMove(double levels, int rate, double timeScale) {
    return voice::FullSwingSeconds(rate) * std::abs(levels) / voice::kTopLevel * timeScale;
}

int RateForMove(double levels, double seconds, double timeScale, int unchanged) {
    const double share = std::abs(levels) / voice::kTopLevel * timeScale;
    if (share <= 0.0) return unchanged;
    int best = 0;
    double bestMiss = std::abs(voice::FullSwingSeconds(0) * share - seconds);
    for (int rate = 1; rate <= voice::kTopLevel; ++rate) {
        const double miss = std::abs(voice::FullSwingSeconds(rate) * share - seconds);
        if (miss < bestMiss) {
            best = rate;
            bestMiss = miss;
        }
    }
    return best;
}

}  // namespace voxtane::qt
