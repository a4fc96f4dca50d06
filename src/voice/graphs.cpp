#include "voice/graphs.h"

#include <algorithm>
#include <cmath>

#include "voice/approximations.h"
#include "voice/envelope.h"
#include "voice/note_range.h"
#include "voice/playing_tone.h"
#include "voice/waveform.h"

namespace voxtane::voice {

namespace {

constexpr int kMostPoints = 4096;

// The DCA and DCW envelopes follow the key; the DCO envelope does not.
double TimeScale(const DecodedTone& tone, EnvelopeId id, int note) {
    const EnvelopeSpec& spec = kEnvelopes[id];
    const DecodedLine& line = tone.lines[spec.line - 1];
    switch (spec.kind) {
        case EnvelopeKind::DCA:
            return KeyFollowFactor(line.dcaKeyFollow, note);
        case EnvelopeKind::DCW:
            return KeyFollowFactor(line.dcwKeyFollow, note);
        case EnvelopeKind::DCO:
            break;
    }
    return 1.0;
}

PointRole RoleOnArrival(const Envelope& e) {
    switch (e.Stage()) {
        case EnvelopeStage::kEnded:
            return PointRole::kEnd;
        case EnvelopeStage::kSustaining:
            return PointRole::kSustain;
        case EnvelopeStage::kMoving:
            break;
    }
    return PointRole::kStep;
}

void AppendCycle(const WaveShape& shape, int points, std::vector<float>& out) {
    for (int i = 0; i < points; ++i) out.push_back(shape(static_cast<float>(i) / points));
}

}  // namespace

std::vector<EnvelopePoint> EnvelopeBreakpoints(const DecodedTone& tone, EnvelopeId id, int note,
                                               double holdSeconds) {
    const PlayingTone playing = PrepareTone(tone);
    id = static_cast<EnvelopeId>(std::clamp<int>(id, 0, kEnvelopeCount - 1));
    const EnvelopeRule& rule = playing.rules[id];
    const double timeScale = TimeScale(playing.tone, id, SoundingNote(note));
    const double hold = std::isnan(holdSeconds) ? 0.0 : std::max(holdSeconds, 0.0);

    Envelope e;
    e.Start();
    std::vector<EnvelopePoint> points{{0.0, 0.0, 0, PointRole::kStart}};
    double now = 0.0;
    bool released = false;
    // Every pass ends a step or releases the key: at most sixteen steps and one release.
    for (int pass = 0; pass < 2 * kEnvelopeSteps + 2; ++pass) {
        if (e.Stage() == EnvelopeStage::kEnded) break;
        const bool sustaining = e.Stage() == EnvelopeStage::kSustaining;
        const double toArrival = e.SecondsToArrival(rule, timeScale);
        if (!released && (sustaining || now + toArrival > hold)) {
            if (std::isinf(hold)) break;
            e.Advance(rule, hold - now, timeScale);
            now = hold;
            points.push_back({now, e.Level(), e.StepIndex() + 1, PointRole::kRelease});
            e.Release(rule);
            released = true;
            continue;
        }
        const int step = e.StepIndex() + 1;
        now += toArrival;
        e.Arrive(rule);
        points.push_back({now, e.Level(), step, RoleOnArrival(e)});
    }
    return points;
}

std::vector<float> WaveformCycle(int waveform, double dcwLevel, int points) {
    points = std::clamp(points, 1, kMostPoints);
    std::vector<float> cycle;
    cycle.reserve(points);
    AppendCycle(WaveShape(waveform, DistortionAmount(dcwLevel)), points, cycle);
    return cycle;
}

std::vector<float> LineCycles(const DecodedTone& tone, int line, int note, double seconds,
                              int pointsPerCycle) {
    const PlayingTone playing = PrepareTone(tone);
    const int index = std::clamp(line, 1, 2) - 1;
    const DecodedLine& params = playing.tone.lines[index];
    const double follow = KeyFollowFactor(params.dcwKeyFollow, SoundingNote(note));

    Envelope dcw;
    dcw.Start();
    dcw.Advance(playing.Rule(EnvelopeKind::DCW, index),
                std::isnan(seconds) ? 0.0 : std::max(seconds, 0.0), follow);
    const double amount = DistortionAmount(dcw.Level() * follow);

    pointsPerCycle = std::clamp(pointsPerCycle, 1, kMostPoints);
    std::vector<float> cycles;
    cycles.reserve(2 * pointsPerCycle);
    AppendCycle(WaveShape(params.waveform1, amount), pointsPerCycle, cycles);
    AppendCycle(WaveShape(params.waveform2, amount), pointsPerCycle, cycles);
    return cycles;
}

}  // namespace voxtane::voice
