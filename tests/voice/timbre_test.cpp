// Timbre as the spectrum shows it: what DCW does to each waveform, alternating waveforms, the
// two lines together, ring and noise modulation.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sound_check.h"
#include "voice/approximations.h"

namespace voxtane::voice::testing {
namespace {

constexpr int kNote = 57;  // 220 Hz: many harmonics below the top of the band
constexpr double kHz = 220.0;
constexpr int kAlternationDcw = 50;

// Amplitudes at step, 2 x step, ... count x step of the held note, relative to the
// fundamental: harmonics 1 to count with the default step.
std::vector<double> Harmonics(const DecodedTone& tone, int count, double step = kHz) {
    const std::vector<float> sound = Play(tone, kNote, 0.7, 0.7);
    const auto steady = Between(sound, 0.2, 0.7);
    const double fundamental = Amplitude(steady, kHz);
    std::vector<double> relative;
    for (int n = 1; n <= count; ++n) relative.push_back(Amplitude(steady, n * step) / fundamental);
    return relative;
}

// Alone or alternating, the five phase-distortion waveforms are a plain cosine at DCW 0.
TEST(Timbre, DcwZeroGivesACosineForEveryPhaseDistortionWaveform) {
    const std::pair<int, int> pairs[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {1, 2}, {3, 5}};
    for (const auto& [first, second] : pairs) {
        DecodedTone tone = HeldTone();
        tone.lines[0].waveform1 = first;
        tone.lines[0].waveform2 = second;
        const std::vector<float> sound = Play(tone, kNote, 0.7, 0.7);
        EXPECT_GE(SinusoidCorrelation(Between(sound, 0.2, 0.7), kHz), 0.999)
            << first << "/" << second;
    }
}

TEST(Timbre, SawtoothAtFullDcwFallsAsOneOverN) {
    const std::vector<double> h = Harmonics(HeldTone(1, 99), 10);
    // n x amplitude stays level: the harmonics fall as 1/n, a little below the fundamental.
    for (int n = 2; n <= 10; ++n) EXPECT_NEAR(h[n - 1] * n, 0.8, 0.2) << n;
}

// The square is the same wave upside down in its second half: no even harmonics at any DCW.
TEST(Timbre, SquareHasOddHarmonicsOnly) {
    for (int dcw : {20, 50, 80, 99}) {
        const std::vector<double> h = Harmonics(HeldTone(2, dcw), 20);
        for (int n = 2; n <= 20; n += 2) EXPECT_LT(Decibels(h[n - 1]), -60.0) << dcw << " " << n;
        if (dcw == 99) {
            for (int n : {3, 5, 7, 9}) EXPECT_GT(Decibels(h[n - 1]), -20.0) << n;
        }
    }
}

// The centre of the spectrum rises with DCW for every waveform: the resonance waveforms as
// their resonance climbs, the others as their bend sharpens.
TEST(Timbre, HigherDcwIsBrighterForEveryWaveform) {
    for (int waveform = 1; waveform <= 8; ++waveform) {
        double previous = 0.0;
        for (int dcw : {0, 33, 66, 99}) {
            const std::vector<double> h = Harmonics(HeldTone(waveform, dcw), 30);
            double weighted = 0.0;
            double total = 0.0;
            for (std::size_t n = 0; n < h.size(); ++n) {
                weighted += (n + 1) * h[n] * h[n];
                total += h[n] * h[n];
            }
            const double centre = weighted / total;
            EXPECT_GT(centre, previous * 1.02) << "waveform " << waveform << " DCW " << dcw;
            previous = centre;
        }
    }
}

// Each pair of different waveforms on one line repeats only every second cycle.
TEST(Timbre, AlternatingWaveformsSoundAtHalfTheFundamental) {
    for (int dcw : {kAlternationDcw, 99}) {
        for (int first = 1; first <= 8; ++first) {
            for (int second = first; second <= 8; ++second) {
                DecodedTone tone = HeldTone(first, dcw);
                tone.lines[0].waveform2 = second;
                const double half = Decibels(Harmonics(tone, 1, kHz / 2)[0]);
                if (first == second)
                    EXPECT_LT(half, -60.0) << first << " at DCW " << dcw;
                else
                    EXPECT_GT(half, -40.0) << first << "/" << second << " at DCW " << dcw;
            }
        }
    }
}

TEST(Timbre, OnePlusOnePrimeBeatsAtTheDetuneFrequency) {
    DecodedTone tone = HeldTone();
    tone.lineSelect = 2;
    tone.detuneFine = 12;
    const std::vector<float> sound = Play(tone, 69, 2.5, 2.5);
    std::vector<float> power;  // the beat is the slow part of the squared sum
    for (float s : Between(sound, 0.5, 2.5)) power.push_back(s * s);
    const double beat = 440.0 * (std::exp2(FineDetuneSemitones(12) / 12.0) - 1.0);
    EXPECT_NEAR(DominantFrequency(power, beat * 0.6, beat * 1.4), beat, beat * 0.02);
}

// Line 1 at 220 Hz and line 2' a fifth above in "1+2'".
std::vector<float> TwoLines(int modulation, bool silenceLine1) {
    DecodedTone tone = HeldTone();
    tone.lineSelect = 3;
    tone.detuneNote = 7;
    tone.modulation = modulation;
    if (silenceLine1) SetEnvelope(tone, kDCA1, {{99, 0}}, 0, 0);
    return Play(tone, kNote, 0.7, 0.7);
}

TEST(Timbre, RingModulationGivesSumAndDifferenceFrequencies) {
    const double upper = kHz * std::exp2(7.0 / 12.0);
    const auto steady = [](const std::vector<float>& s) { return Between(s, 0.2, 0.7); };
    const std::vector<float> ring = TwoLines(1, false);
    const std::vector<float> plain = TwoLines(0, false);
    const double line1 = Amplitude(steady(ring), kHz);
    EXPECT_GT(Amplitude(steady(ring), upper + kHz), 0.4 * line1);
    EXPECT_GT(Amplitude(steady(ring), upper - kHz), 0.4 * line1);
    EXPECT_LT(Amplitude(steady(ring), upper), 0.01 * line1);
    EXPECT_GT(Amplitude(steady(plain), upper), 0.9 * line1);
    EXPECT_LT(Amplitude(steady(plain), upper + kHz), 0.01 * line1);
}

TEST(Timbre, NoiseModulationSpreadsOverTheWholeBand) {
    const std::vector<float> noise = TwoLines(2, true);
    const std::vector<float> plain = TwoLines(0, true);
    const double bands[] = {1000.0, 4000.0, 9000.0, 16000.0};
    std::vector<double> levels;
    for (double low : bands) {
        double sum = 0.0;
        for (int i = 0; i < 20; ++i) sum += Amplitude(Between(noise, 0.2, 0.7), low + 37.0 * i);
        levels.push_back(sum / 20);
        EXPECT_LT(Amplitude(Between(plain, 0.2, 0.7), low + 37.0), 1e-3 * levels.back()) << low;
    }
    for (double level : levels) EXPECT_NEAR(Decibels(level / levels.front()), 0.0, 3.0);
}

}  // namespace
}  // namespace voxtane::voice::testing
