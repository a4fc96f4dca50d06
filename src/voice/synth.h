#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "tone/decoded_tone.h"
#include "voice/output_stage.h"
#include "voice/playing_tone.h"
#include "voice/voice.h"

// The software instrument: a tone, up to eight voices (four for two-line tones) and the
// output. Everything is sized at construction: SetTone, the note calls and Render neither
// allocate nor lock, so all of them may run on the audio thread.
namespace voxtane::voice {

// For a level meter on another thread: as of the end of the last Render.
struct LevelMeter {
    int activeVoices = 0;
    float peak = 0.0f;  // largest magnitude of the last Render's output, 0 to 1
};

class Synth {
  public:
    // `maxVoices` (1 to 8) caps the polyphony; the output gain is fixed for it, so that the
    // most that many voices can sum to stays within [-1, 1]. The tone starts silent.
    explicit Synth(double sampleRate, int maxVoices = kMaxVoices);

    // Takes effect from the next control block, on the notes already sounding too.
    void SetTone(const DecodedTone& tone);
    // The instrument has no touch response: velocity only matters as 0, a note-off. A note
    // outside 36 to 96 sounds moved by octaves into that range (SoundingNote), and is ended
    // by a note-off of any note that moves to the same key.
    void NoteOn(int note, int velocity);
    void NoteOff(int note);
    // Releases every held note, as lifting every key would.
    void AllNotesOff();
    // Silences every voice at once (after a fade of a few milliseconds).
    void AllSoundOff();

    void Render(std::span<float> mono);

    [[nodiscard]] LevelMeter Meter() const;
    [[nodiscard]] double SampleRate() const { return sampleRate_; }
    [[nodiscard]] int Polyphony() const;

  private:
    [[nodiscard]] Voice& ChooseVoice(int note);
    [[nodiscard]] int PlayingVoices() const;
    void FadeOutOldest(int count);

    double sampleRate_;
    int maxVoices_;
    PlayingTone tone_;
    std::array<Voice, kMaxVoices> voices_{};
    std::uint64_t notesStarted_ = 0;
    int frameInGrid_ = 0;
    OutputStage output_;
    std::atomic<int> meterVoices_{0};
    std::atomic<float> meterPeak_{0.0f};
};

}  // namespace voxtane::voice
