#pragma once

// The vibrato of one voice: silent for the delay after note-on, then a low-frequency wave
// (triangle, rising saw, falling saw or square) that bends the pitch of both lines.
namespace voxtane::voice {

enum class VibratoWave { kTriangle, kRisingSaw, kFallingSaw, kSquare };

// A tone's vibrato worked out once: its wave, the seconds before it starts, its frequency and
// its peak pitch deviation in semitones.
struct VibratoRule {
    VibratoWave wave = VibratoWave::kTriangle;
    double delaySeconds = 0.0;
    double hz = 0.0;
    double peakSemitones = 0.0;
};

// The wave at `phase` (0 to 1), within [-1, 1]; every wave but the square starts at 0 going its
// way, so that the vibrato sets in without a jump.
[[nodiscard]] double VibratoShape(VibratoWave wave, double phase);

class Vibrato {
  public:
    void Start() { *this = Vibrato{}; }
    // Moves on by `seconds` and gives the pitch offset in semitones.
    [[nodiscard]] double Advance(const VibratoRule& rule, double seconds);

  private:
    double sinceNoteOn_ = 0.0;
    double phase_ = 0.0;
};

}  // namespace voxtane::voice
