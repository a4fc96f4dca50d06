// The synth as the audio thread uses it: polyphony and stealing, never clipping, the same
// sound every time, no allocation while playing, odd tones, and the tone mailbox.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "allocation_count.h"
#include "sound_check.h"
#include "voice/graphs.h"
#include "voice/synth.h"
#include "voice/tone_mailbox.h"

namespace voxtane::voice::testing {
namespace {

// A tone whose every voice is as loud as it can be: full DCA, full DCW.
DecodedTone LoudTone(int lineSelect, int waveform1, int waveform2) {
    DecodedTone tone = HeldTone(waveform1, 99);
    tone.lineSelect = lineSelect;
    for (DecodedLine& line : tone.lines) line.waveform2 = waveform2;
    return tone;
}

std::vector<float> PlayChord(const DecodedTone& tone, const std::vector<int>& notes,
                             std::size_t blockFrames, double seconds = 0.5) {
    Synth synth(kRate);
    synth.SetTone(tone);
    for (int note : notes) synth.NoteOn(note, 100);
    std::vector<float> sound(static_cast<std::size_t>(seconds * kRate));
    const std::size_t release = sound.size() / 2;
    for (std::size_t at = 0; at < sound.size();) {
        if (at == release) synth.AllNotesOff();
        const std::size_t end = std::min(at + blockFrames, at < release ? release : sound.size());
        synth.Render({sound.data() + at, end - at});
        at = end;
    }
    return sound;
}

TEST(Synth, SameEventsGiveTheSameSoundWhateverTheBlockSize) {
    DecodedTone tone = LoudTone(3, 3, 6);
    tone.modulation = 2;
    tone.vibratoDepth = 40;
    const std::vector<float> reference = PlayChord(tone, {48, 55, 64}, 256);
    EXPECT_EQ(PlayChord(tone, {48, 55, 64}, 256), reference);
    for (std::size_t block : {1, 7, 16, 100, 4096})
        EXPECT_EQ(PlayChord(tone, {48, 55, 64}, block), reference) << block;
}

TEST(Synth, EightLoudVoicesNeverLeaveFullScale) {
    const std::vector<int> chord{36, 43, 48, 55, 60, 64, 67, 72};
    for (int lineSelect = 0; lineSelect < 4; ++lineSelect) {
        for (auto [w1, w2] : {std::pair{3, 3}, {5, 5}, {6, 8}, {2, 4}, {1, 7}}) {
            DecodedTone tone = LoudTone(lineSelect, w1, w2);
            tone.modulation = lineSelect == 3 ? 1 : 0;
            const std::vector<float> sound = PlayChord(tone, chord, 512);
            const float peak = *std::max_element(sound.begin(), sound.end(), [](float a, float b) {
                return std::abs(a) < std::abs(b);
            });
            EXPECT_LE(std::abs(peak), 1.0f) << lineSelect << " " << w1 << "/" << w2;
            EXPECT_GT(std::abs(peak), 0.3f) << "the chord should be loud";
        }
    }
}

TEST(Synth, PolyphonyDependsOnTheLineSelectAndTheOldestNoteIsStolen) {
    for (auto [lineSelect, polyphony] : {std::pair{0, 8}, {1, 8}, {2, 4}, {3, 4}}) {
        Synth synth(kRate);
        synth.SetTone(LoudTone(lineSelect, 1, 1));
        std::vector<float> block(256);
        for (int note = 60; note < 70; ++note) {
            synth.NoteOn(note, 100);
            synth.Render(block);
        }
        EXPECT_EQ(synth.Meter().activeVoices, polyphony) << lineSelect;
        EXPECT_EQ(synth.Polyphony(), polyphony);
    }
    // Nine sine notes on eight voices: the first note is gone, the second still sounds.
    Synth synth(kRate);
    synth.SetTone(HeldTone());
    for (int note = 60; note <= 68; ++note) synth.NoteOn(note, 100);
    std::vector<float> sound(static_cast<std::size_t>(kRate));
    synth.Render(sound);
    const auto steady = std::span<const float>(sound).subspan(sound.size() / 2);
    EXPECT_GT(Amplitude(steady, 277.18), 0.05);
    EXPECT_LT(Amplitude(steady, 261.63), 1e-3 * Amplitude(steady, 277.18));
}

TEST(Synth, VoiceFallsIdleWhenItsSoundHasEnded) {
    Synth synth(kRate);
    synth.SetTone(HeldTone());
    std::vector<float> block(4800);
    synth.NoteOn(60, 100);
    synth.Render(block);
    EXPECT_EQ(synth.Meter().activeVoices, 1);
    EXPECT_GT(synth.Meter().peak, 0.05f);
    synth.NoteOff(60);
    for (int i = 0; i < 10; ++i) synth.Render(block);
    EXPECT_EQ(synth.Meter().activeVoices, 0);
    EXPECT_LT(synth.Meter().peak, 1e-6f);
}

TEST(Synth, PlayingAllocatesNothing) {
    Synth synth(kRate);
    ToneMailbox mailbox;
    const DecodedTone tones[] = {LoudTone(3, 6, 2), LoudTone(0, 1, 8), LoudTone(2, 4, 5)};
    std::vector<float> block(512);
    const long before = AllocationsSoFar();
    for (int round = 0; round < 30; ++round) {
        mailbox.Publish(tones[round % 3]);
        if (const DecodedTone* tone = mailbox.TakeNewest()) synth.SetTone(*tone);
        synth.NoteOn(40 + round, 100);
        synth.Render(block);
        if (round % 4 == 0) synth.NoteOff(40 + round - 2);
        if (round % 9 == 0) synth.AllNotesOff();
        if (round % 13 == 0) synth.AllSoundOff();
        synth.Render(block);
    }
    EXPECT_EQ(AllocationsSoFar() - before, 0);
}

// Records can hold any number: the voice clamps, and its sound stays finite and in range.
TEST(Synth, OddToneValuesAreClampedNeverACrash) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> odd(-300, 300);
    const auto fill = [&](int& v, int i) {
        v = i % 7 == 0 ? (i % 2 ? INT_MIN : INT_MAX) : odd(random);
    };
    for (int i = 0; i < 40; ++i) {
        DecodedTone tone;
        int n = i;
        for (int* v : {&tone.lineSelect, &tone.octaveRange, &tone.detuneSign, &tone.detuneFine,
                       &tone.detuneOctave, &tone.detuneNote, &tone.vibratoWave, &tone.vibratoDelay,
                       &tone.vibratoRate, &tone.vibratoDepth, &tone.modulation})
            fill(*v, n++);
        for (DecodedLine& line : tone.lines)
            for (int* v :
                 {&line.waveform1, &line.waveform2, &line.dcaKeyFollow, &line.dcwKeyFollow})
                fill(*v, n++);
        for (DecodedEnvelope& e : tone.envelopes) {
            for (EnvelopeStep& step : e.steps) fill(step.rate, n++), fill(step.level, n++);
            fill(e.sustainStep, n++);
            fill(e.endStep, n++);
        }
        const std::vector<float> sound = PlayChord(tone, {i, 127 - i, 60}, 333, 0.2);
        for (float s : sound) ASSERT_TRUE(std::isfinite(s) && std::abs(s) <= 1.0f) << i;
        for (int id = 0; id < kEnvelopeCount; ++id)
            EXPECT_FALSE(EnvelopeBreakpoints(tone, static_cast<EnvelopeId>(id), 200, 1.0).empty());
        for (float s : LineCycles(tone, 2, -5, 0.3, 64)) ASSERT_TRUE(std::abs(s) <= 1.0f);
    }
    for (double rate : {0.0, -1.0, std::nan(""), 1e12}) EXPECT_GT(Synth(rate).SampleRate(), 0.0);
}

// A writer publishes numbered tones as fast as it can; every tone the reader takes is whole
// (every field carries the same number) and newer than the one before, and the last one
// published always arrives.
TEST(ToneMailbox, ReaderAlwaysTakesAWholeNewerTone) {
    ToneMailbox mailbox;
    constexpr int kTones = 20000;
    std::thread writer([&] {
        for (int i = 1; i <= kTones; ++i) {
            DecodedTone tone;
            tone.detuneFine = i;
            for (DecodedEnvelope& e : tone.envelopes) e.steps.fill({i, i});
            mailbox.Publish(tone);
        }
    });
    int last = 0;
    while (last < kTones) {
        if (const DecodedTone* tone = mailbox.TakeNewest()) {
            ASSERT_GT(tone->detuneFine, last);
            last = tone->detuneFine;
            for (const DecodedEnvelope& e : tone->envelopes)
                for (const EnvelopeStep& step : e.steps)
                    ASSERT_EQ(step, (EnvelopeStep{last, last}));
        }
    }
    writer.join();
    EXPECT_EQ(mailbox.TakeNewest(), nullptr);
}

}  // namespace
}  // namespace voxtane::voice::testing
