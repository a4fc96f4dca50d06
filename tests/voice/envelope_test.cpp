// Loudness over time: sustain, release, the end step and key follow, heard in the rendered
// sound and compared with the envelope graph the window draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound_check.h"
#include "voice/approximations.h"
#include "voice/graphs.h"
#include "voice/render_note.h"

namespace voxtane::voice::testing {
namespace {

constexpr double kOneVoiceGain = 0.5;  // RenderNote's output gain: two lines fit in [-1, 1]

// Loudness (RMS) of the sound over ten cycles of A4 around `seconds`.
double LoudnessAt(const std::vector<float>& sound, double seconds) {
    constexpr double kTenCycles = 10.0 / 440.0;
    return Rms(Between(sound, seconds - kTenCycles / 2, seconds + kTenCycles / 2));
}

TEST(Envelope, SustainHoldsWhileHeldAndReleaseFallsToSilence) {
    DecodedTone tone = HeldTone();
    SetEnvelope(tone, kDCA1, {{80, 99}, {50, 70}, {40, 0}}, 1, 2);
    const std::vector<float> sound = Play(tone, 69, 1.5, 4.0);
    EXPECT_NEAR(Decibels(LoudnessAt(sound, 0.8) / LoudnessAt(sound, 1.45)), 0.0, 0.05);
    EXPECT_NEAR(LoudnessAt(sound, 1.0), kOneVoiceGain * DcaGain(70) / std::sqrt(2.0), 0.005);
    double previous = LoudnessAt(sound, 1.5);
    for (double t = 1.55; t < 1.85; t += 0.05) {
        EXPECT_LT(LoudnessAt(sound, t), previous) << t;
        previous = LoudnessAt(sound, t);
    }
    EXPECT_LT(Rms(Between(sound, 2.5, 4.0)), 1e-5);
}

TEST(Envelope, EndStepEndsTheSoundEvenWhileHeld) {
    DecodedTone tone = HeldTone();
    // Steps past the end step play no part.
    SetEnvelope(tone, kDCA1, {{99, 99}, {60, 0}, {99, 99}, {99, 99}}, 7, 1);
    const std::vector<float> sound = Play(tone, 69, 3.0, 3.0);
    EXPECT_GT(LoudnessAt(sound, 0.02), 0.1);
    EXPECT_LT(Rms(Between(sound, 1.0, 3.0)), 1e-5);
}

TEST(Envelope, ReleaseBeforeTheSustainStepFallsAtOnce) {
    DecodedTone tone = HeldTone();
    SetEnvelope(tone, kDCA1, {{20, 99}, {60, 0}}, 0, 1);  // a slow attack, released midway
    const std::vector<float> sound = Play(tone, 69, 0.3, 1.0);
    const double atRelease = LoudnessAt(sound, 0.3);
    for (double t = 0.32; t < 0.6; t += 0.02) EXPECT_LT(LoudnessAt(sound, t), atRelease) << t;
}

// Seconds from the key's release until the DCA has reached the last of `afterSustain`, where
// it ends; before, it holds at 99. A sample rate of 100 samples a cycle of A4 puts a sample on
// every peak of the sine, so that the peaks trace the gain exactly.
double StepsAfterReleaseSeconds(std::initializer_list<EnvelopeStep> afterSustain) {
    constexpr double kPeakRate = 44000.0;
    constexpr double kHold = 0.3;  // on the 16-frame control grid
    DecodedTone tone = HeldTone();
    std::vector<EnvelopeStep> steps{{99, 99}};
    steps.insert(steps.end(), afterSustain);
    DecodedEnvelope& dca = tone.envelopes[kDCA1];
    std::copy(steps.begin(), steps.end(), dca.steps.begin());
    dca.sustainStep = 0;
    dca.endStep = static_cast<int>(steps.size()) - 1;
    const std::vector<float> sound = RenderNote(tone, 69, kHold, 4.0, kPeakRate);
    const std::size_t cycles = sound.size() / 100;
    const float finalPeak = sound[(cycles - 1) * 100];  // long after the end
    for (std::size_t cycle = 0; cycle < cycles; ++cycle) {
        const double seconds = cycle / 440.0;
        if (seconds > kHold && std::abs(sound[cycle * 100] - finalPeak) < 2e-5)
            return seconds - kHold;
    }
    return 0.0;
}

// A step moves in a straight line at its rate: its time is proportional to the distance, and
// a step to the level already held takes none, however slow its rate.
TEST(Envelope, StepTimeIsProportionalToTheDistance) {
    const double toZero = StepsAfterReleaseSeconds({{27, 0}});
    const double toHalf = StepsAfterReleaseSeconds({{27, 50}});
    EXPECT_GT(toHalf, 0.5);
    EXPECT_NEAR(toZero / toHalf, 2.0, 0.04);
    const double tick = 1.0 / 440.0;
    EXPECT_NEAR(StepsAfterReleaseSeconds({{0, 99}, {27, 50}}), toHalf, tick);
    EXPECT_NEAR(StepsAfterReleaseSeconds({{27, 50}, {0, 50}, {27, 0}}), toZero, tick);
}

// The level the window's graph shows at `seconds`: straight lines between the breakpoints.
double GraphLevel(const std::vector<EnvelopePoint>& points, double seconds) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        const EnvelopePoint& a = points[i - 1];
        const EnvelopePoint& b = points[i];
        if (seconds <= b.seconds) {
            const double span = b.seconds - a.seconds;
            return span <= 0.0 ? b.level
                               : a.level + (b.level - a.level) * (seconds - a.seconds) / span;
        }
    }
    return points.back().level;
}

// Every case is an audible rule: sustain, release before the sustain step, an end level that
// stays, key follow. The graph must tell what the voice plays.
TEST(Envelope, GraphBreakpointsAreWhatTheVoicePlays) {
    struct Case {
        std::initializer_list<EnvelopeStep> steps;
        int sustain, end, note, keyFollow;
        double hold;
    };
    const Case cases[] = {
        {{{60, 99}, {40, 50}, {30, 80}, {50, 0}}, 2, 3, 69, 0, 1.2},
        {{{60, 99}, {40, 50}, {30, 80}, {50, 0}}, 2, 3, 81, 9, 1.2},
        {{{20, 99}, {60, 0}}, 0, 1, 69, 0, 0.3},   // released before the sustain step
        {{{70, 99}, {50, 40}}, 7, 1, 69, 0, 0.5},  // no sustain; stays at the end level
        {{{45, 99}, {45, 20}, {45, 60}, {45, 10}, {45, 0}}, 4, 4, 69, 5, 1.0},
    };
    constexpr int kPointsPerWindow = 50;
    for (const Case& c : cases) {
        DecodedTone tone = HeldTone();
        SetEnvelope(tone, kDCA1, c.steps, c.sustain, c.end);
        tone.lines[0].dcaKeyFollow = c.keyFollow;
        const auto points = EnvelopeBreakpoints(tone, kDCA1, c.note, c.hold);
        const std::vector<float> sound = Play(tone, c.note, c.hold, 2.5);
        const double cycle = 1.0 / (440.0 * std::exp2((c.note - 69) / 12.0));
        for (double t = 0.05; t < 2.4; t += 0.05) {
            double meanSquare = 0.0;  // of the DCA gain over the measured ten cycles
            for (int i = 0; i < kPointsPerWindow; ++i) {
                const double g =
                    DcaGain(GraphLevel(points, t + cycle * (10.0 * i / kPointsPerWindow - 5)));
                meanSquare += g * g / kPointsPerWindow;
            }
            const double expected = kOneVoiceGain * std::sqrt(meanSquare / 2.0);
            const double measured = Rms(Between(sound, t - 5 * cycle, t + 5 * cycle));
            EXPECT_NEAR(measured, expected, 0.004) << "case " << (&c - cases) << " at " << t;
        }
    }
}

TEST(Envelope, KeyFollowShortensHighNotesAndSoftensTheirDistortion) {
    const auto halfLoudnessSeconds = [](int keyFollow) {
        DecodedTone tone = HeldTone();
        SetEnvelope(tone, kDCA1, {{99, 99}, {35, 0}}, 7, 1);
        tone.lines[0].dcaKeyFollow = keyFollow;
        const std::vector<float> sound = Play(tone, 84, 3.0, 3.0);
        const auto around = [&](double t) { return Rms(Between(sound, t - 0.005, t + 0.005)); };
        double t = 0.005;
        while (around(t) > around(0.005) / 2) t += 0.001;
        return t;
    };
    EXPECT_NEAR(halfLoudnessSeconds(9) / halfLoudnessSeconds(0), KeyFollowFactor(9, 84), 0.02);

    const auto fifthHarmonic = [](int keyFollow) {
        DecodedTone tone = HeldTone(1, 80);
        tone.lines[0].dcwKeyFollow = keyFollow;
        const std::vector<float> sound = Play(tone, 84, 0.5, 0.5);
        const double hz = 440.0 * std::exp2(15.0 / 12.0);
        return Amplitude(Between(sound, 0.2, 0.5), 5 * hz) /
               Amplitude(Between(sound, 0.2, 0.5), hz);
    };
    EXPECT_LT(fifthHarmonic(9), 0.5 * fifthHarmonic(0));
}

}  // namespace
}  // namespace voxtane::voice::testing
