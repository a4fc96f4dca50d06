// Pitch as a listener hears it: equal temperament from A4 = 440 Hz, the notes that sound,
// octave range, detune, the DCO envelope and vibrato.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "sound_check.h"
#include "voice/approximations.h"
#include "voice/synth.h"

namespace voxtane::voice::testing {
namespace {

double PitchOf(const DecodedTone& tone, int note, double expectedHz) {
    const std::vector<float> sound = Play(tone, note, 1.0, 1.0);
    return DominantFrequency(Between(sound, 0.2, 1.0), expectedHz * 0.97, expectedHz * 1.03);
}

TEST(Pitch, NotesSoundAtEqualTemperament) {
    const std::pair<int, double> notes[] = {{60, 261.63}, {69, 440.0}, {36, 65.41}, {96, 2093.0}};
    for (const auto& [note, hz] : notes)
        EXPECT_NEAR(PitchOf(HeldTone(), note, hz), hz, hz * 0.002) << note;
}

// Notes below 36 sound moved up by octaves into 36 to 47, notes above 96 moved down into 85 to
// 96; the key's velocity changes nothing.
TEST(Pitch, NotesOutsideTheSoundingRangeMoveByOctaves) {
    const std::pair<int, int> folds[] = {{24, 36}, {100, 88}, {0, 36},
                                         {35, 47}, {97, 85},  {127, 91}};
    for (const auto& [note, sounding] : folds) {
        const double hz = 440.0 * std::exp2((sounding - 69) / 12.0);
        const double cents =
            1200.0 * std::log2(PitchOf(HeldTone(), note, hz) / PitchOf(HeldTone(), sounding, hz));
        EXPECT_NEAR(cents, 0.0, 1.0) << note;
    }

    const auto render = [](int velocity) {
        DecodedTone tone = HeldTone(6, 40);
        tone.lineSelect = 3;
        tone.modulation = 2;
        tone.vibratoDepth = 40;
        Synth synth(kRate);
        synth.SetTone(tone);
        std::vector<float> sound(static_cast<std::size_t>(0.3 * kRate));
        synth.NoteOn(60, velocity);
        synth.NoteOn(24, velocity);
        synth.Render(sound);
        // Each note-off ends its note, also where the note moved.
        synth.NoteOff(60);
        synth.NoteOff(24);
        std::vector<float> after(sound.size());
        synth.Render(after);
        EXPECT_EQ(synth.Meter().activeVoices, 0);
        return sound;
    };
    EXPECT_EQ(render(1), render(127));
}

// The detuned line alone: line 1 is silenced in "1+2'" so that line 2' sounds by itself.
TEST(Pitch, OctaveRangeAndDetuneShiftByTheirRatio) {
    struct Case {
        const char* what;
        std::function<void(DecodedTone&)> set;
        double semitones;
    };
    const Case cases[] = {
        {"octave +1", [](DecodedTone& t) { t.octaveRange = 1; }, 12.0},
        {"octave -1", [](DecodedTone& t) { t.octaveRange = 2; }, -12.0},
        {"+1 octave", [](DecodedTone& t) { t.detuneOctave = 1; }, 12.0},
        {"+7 notes", [](DecodedTone& t) { t.detuneNote = 7; }, 7.0},
        {"-2 notes", [](DecodedTone& t) { t.detuneSign = 1, t.detuneNote = 2; }, -2.0},
        {"fine 60", [](DecodedTone& t) { t.detuneFine = 60; }, FineDetuneSemitones(60)},
        {"-fine 30", [](DecodedTone& t) { t.detuneSign = 1, t.detuneFine = 30; }, -0.5},
        {"-1 oct 3 notes",
         [](DecodedTone& t) { t.detuneSign = 1, t.detuneOctave = 1, t.detuneNote = 3; }, -15.0},
    };
    for (const Case& c : cases) {
        DecodedTone tone = HeldTone();
        tone.lineSelect = 3;
        SetEnvelope(tone, kDCA1, {{99, 0}}, 0, 0);
        c.set(tone);
        const double expected = 440.0 * std::exp2(c.semitones / 12.0);
        EXPECT_NEAR(PitchOf(tone, 69, expected), expected, expected * 0.002) << c.what;
    }
}

TEST(Pitch, DcoEnvelopeBendsWhileHeldAndReturnsOnRelease) {
    DecodedTone tone = HeldTone();
    SetEnvelope(tone, kDCA1, {{99, 99}}, 0, 0);
    SetEnvelope(tone, kDCO1, {{99, 12}, {80, 0}}, 0, 1);
    const std::vector<float> sound = Play(tone, 60, 1.0, 2.0);
    const double bent = 261.63 * std::exp2(DcoBendSemitones(12) / 12.0);
    EXPECT_NEAR(DominantFrequency(Between(sound, 0.2, 1.0), bent * 0.97, bent * 1.03), bent,
                bent * 0.002);
    EXPECT_NEAR(DominantFrequency(Between(sound, 1.2, 2.0), 250, 270), 261.63, 0.5);
}

TEST(Pitch, VibratoSwingsByItsDepthAtItsRateAfterItsDelay) {
    DecodedTone tone = HeldTone();
    tone.vibratoDepth = 60;
    tone.vibratoRate = 30;
    tone.vibratoDelay = 20;
    const std::vector<float> sound = Play(tone, 69, 3.0, 3.0);
    const double delay = VibratoDelaySeconds(20);

    // The pitch from one upward crossing to the next.
    const std::vector<double> crossings = RisingCrossings(sound);
    std::vector<double> times;
    std::vector<double> semitones;
    for (std::size_t i = 1; i < crossings.size(); ++i) {
        times.push_back(crossings[i]);
        semitones.push_back(12.0 * std::log2(1.0 / (crossings[i] - crossings[i - 1]) / 440.0));
    }
    double steadyBeforeDelay = 0.0;
    double highest = 0.0;
    double lowest = 0.0;
    int upwardPasses = 0;  // passes through the note going up: one per vibrato cycle
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (times[i] < delay)
            steadyBeforeDelay = std::max(steadyBeforeDelay, std::abs(semitones[i]));
        if (times[i] < delay + 0.1) continue;
        highest = std::max(highest, semitones[i]);
        lowest = std::min(lowest, semitones[i]);
        upwardPasses += semitones[i - 1] < 0.0 && semitones[i] >= 0.0;
    }
    EXPECT_LT(steadyBeforeDelay, 0.01);
    const double depth = VibratoPeakSemitones(60);
    EXPECT_NEAR(highest, depth, depth * 0.1);
    EXPECT_NEAR(lowest, -depth, depth * 0.1);
    const double expectedCycles = (3.0 - delay - 0.1) * VibratoHz(30);
    EXPECT_NEAR(upwardPasses, expectedCycles, 1.5);
}

// Seconds from note-on until the pitch first leaves the note by half a semitone.
double VibratoOnsetSeconds(const DecodedTone& tone) {
    constexpr double kSeconds = 8.0;
    const std::vector<double> crossings = RisingCrossings(Play(tone, 69, kSeconds, kSeconds));
    for (std::size_t i = 1; i < crossings.size(); ++i)
        if (std::abs(12.0 * std::log2(1.0 / (crossings[i] - crossings[i - 1]) / 440.0)) > 0.5)
            return crossings[i - 1];
    return kSeconds;
}

// The delay follows the delay coefficient, which grows like the value up to 31 and then by
// steps that double every 16 values.
TEST(Pitch, VibratoDelayGrowsWithItsCoefficient) {
    DecodedTone tone = HeldTone();
    tone.vibratoDepth = 99;
    tone.vibratoRate = 50;
    tone.vibratoWave = 3;  // square: the pitch leaves the note at once
    const auto onset = [&tone](int delay) {
        tone.vibratoDelay = delay;
        return VibratoOnsetSeconds(tone);
    };
    const double reference = onset(25);
    const std::pair<int, double> ratios[] = {{31, 1.24}, {50, 3.0}, {75, 8.9}, {84, 13.4}};
    for (const auto& [delay, ratio] : ratios)
        EXPECT_NEAR(onset(delay) / reference, ratio, 0.1 * ratio) << delay;
}

}  // namespace
}  // namespace voxtane::voice::testing
