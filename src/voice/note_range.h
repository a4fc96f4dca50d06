#pragma once

#include <algorithm>

// The notes the instrument sounds. It takes every MIDI note, 0 to 127, but sounds only 36 to 96
// (C2 to C7): a lower note moves up by octaves into 36 to 47, a higher one down by octaves into
// 85 to 96. The voice, the piano keys and the render command all go by this.
namespace voxtane::voice {

inline constexpr int kLowestMidiNote = 0;
inline constexpr int kHighestMidiNote = 127;
inline constexpr int kLowestSoundingNote = 36;
inline constexpr int kHighestSoundingNote = 96;

// The key that sounds for MIDI note `note` (clamped to 0 to 127 first).
[[nodiscard]] constexpr int SoundingNote(int note) {
    constexpr int kOctave = 12;
    note = std::clamp(note, kLowestMidiNote, kHighestMidiNote);
    if (note < kLowestSoundingNote)
        return note + kOctave * ((kLowestSoundingNote - note + kOctave - 1) / kOctave);
    if (note > kHighestSoundingNote)
        return note - kOctave * ((note - kHighestSoundingNote + kOctave - 1) / kOctave);
    return note;
}

}  // namespace voxtane::voice
