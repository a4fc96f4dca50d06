#include "voice/synth.h"

#include <algorithm>

#include "voice/note_range.h"

namespace voxtane::voice {

namespace {

constexpr double kLowestSampleRate = 8000.0;
constexpr double kHighestSampleRate = 768000.0;

double UsableSampleRate(double sampleRate) {
    // NaN fails both comparisons and becomes the lowest rate too.
    if (!(sampleRate >= kLowestSampleRate)) return kLowestSampleRate;
    return std::min(sampleRate, kHighestSampleRate);
}

// The most lines that can sound at once: eight one-line voices or four two-line voices.
float OutputGain(int maxVoices) {
    const int oneLine = std::min(maxVoices, kMaxVoices);
    const int twoLine = 2 * std::min(maxVoices, kMaxVoices / 2);
    return 1.0f / static_cast<float>(std::max(oneLine, twoLine));
}

// A different, reproducible noise seed for every note started.
std::uint32_t NoiseSeed(std::uint64_t order) {
    return static_cast<std::uint32_t>((order + 1) * 2654435761u) | 1u;
}

}  // namespace

Synth::Synth(double sampleRate, int maxVoices)
    : sampleRate_(UsableSampleRate(sampleRate)),
      maxVoices_(std::clamp(maxVoices, 1, kMaxVoices)),
      tone_(PrepareTone(DecodedTone{})),
      output_(sampleRate_, OutputGain(maxVoices_)) {}

int Synth::Polyphony() const {
    return std::min(tone_.polyphony, maxVoices_);
}

int Synth::PlayingVoices() const {
    return static_cast<int>(std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) {
        return v.IsActive() && !v.IsDying();
    }));
}

void Synth::FadeOutOldest(int count) {
    for (int i = 0; i < count; ++i) {
        Voice* oldest = nullptr;
        for (Voice& v : voices_)
            if (v.IsActive() && !v.IsDying() && (!oldest || v.Order() < oldest->Order()))
                oldest = &v;
        if (oldest) oldest->FadeOut();
    }
}

void Synth::SetTone(const DecodedTone& tone) {
    tone_ = PrepareTone(tone);
    FadeOutOldest(PlayingVoices() - Polyphony());
}

// The same note again takes its own voice; otherwise a free voice while the polyphony allows,
// else a voice already fading out, else the oldest released voice, else the oldest voice.
Voice& Synth::ChooseVoice(int note) {
    for (Voice& v : voices_)
        if (v.IsActive() && !v.IsDying() && v.Note() == note) return v;
    if (PlayingVoices() < Polyphony()) {
        for (Voice& v : voices_)
            if (!v.IsActive()) return v;
    }
    const auto rank = [](const Voice& v) { return v.IsDying() ? 0 : (v.IsHeld() ? 2 : 1); };
    Voice* choice = nullptr;
    for (Voice& v : voices_) {
        if (!v.IsActive()) continue;
        if (!choice || rank(v) < rank(*choice) ||
            (rank(v) == rank(*choice) && v.Order() < choice->Order()))
            choice = &v;
    }
    return choice ? *choice : voices_.front();
}

void Synth::NoteOn(int note, int velocity) {
    note = SoundingNote(note);
    if (velocity <= 0) {
        NoteOff(note);
        return;
    }
    const std::uint64_t order = notesStarted_++;
    ChooseVoice(note).Play(note, order, NoiseSeed(order));
}

void Synth::NoteOff(int note) {
    note = SoundingNote(note);
    for (Voice& v : voices_)
        if (v.IsActive() && v.IsHeld() && v.Note() == note) v.Release(tone_);
}

void Synth::AllNotesOff() {
    for (Voice& v : voices_)
        if (v.IsActive()) v.Release(tone_);
}

void Synth::AllSoundOff() {
    for (Voice& v : voices_) v.FadeOut();
}

void Synth::Render(std::span<float> mono) {
    float peak = 0.0f;
    while (!mono.empty()) {
        const int toGrid = kControlFrames - frameInGrid_;
        const auto frames = std::min<std::size_t>(mono.size(), toGrid);
        const std::span<float> chunk = mono.first(frames);
        std::fill(chunk.begin(), chunk.end(), 0.0f);
        for (Voice& v : voices_) v.Render(tone_, sampleRate_, chunk, toGrid);
        peak = std::max(peak, output_.Process(chunk));
        frameInGrid_ = (frameInGrid_ + static_cast<int>(frames)) % kControlFrames;
        mono = mono.subspan(frames);
    }
    meterVoices_.store(static_cast<int>(std::count_if(voices_.begin(), voices_.end(),
                                                      [](const Voice& v) { return v.IsActive(); })),
                       std::memory_order_relaxed);
    meterPeak_.store(peak, std::memory_order_relaxed);
}

LevelMeter Synth::Meter() const {
    return {meterVoices_.load(std::memory_order_relaxed),
            meterPeak_.load(std::memory_order_relaxed)};
}

}  // namespace voxtane::voice
