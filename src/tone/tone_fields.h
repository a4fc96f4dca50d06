#pragma once

#include <optional>

#include "tone/envelope_codes.h"
#include "tone/tone_record.h"
#include "tone/waveform_codes.h"

// How each parameter of a tone is packed into its record, in both directions. The decoder reads
// a record through these; the encoder and the editor's handlers write one through them. A writer
// always writes the whole bytes of its part, so that a part once written holds nothing stale.
namespace voxtane {

// Tone byte 1: 4 x octave-range code + line select, read from its low entry only. The octave
// code is given as held (3 is a code the editor cannot show).
struct LineSelectAndOctaveRange {
    int lineSelect;
    int octaveRange;
};
[[nodiscard]] LineSelectAndOctaveRange ReadLineSelectAndOctaveRange(const ToneRecord& record);
void WriteLineSelectAndOctaveRange(ToneRecord& record, int lineSelect, int octaveRange);

// Tone byte 2: 0 "+", 1 "-"; anything but 0 in its low entry reads as "-".
[[nodiscard]] int ReadDetuneSign(const ToneRecord& record);
void WriteDetuneSign(ToneRecord& record, int sign);

// Tone byte 3 in the fine coding; nothing for a code the slider cannot show.
[[nodiscard]] std::optional<int> ReadDetuneFine(const ToneRecord& record);
void WriteDetuneFine(ToneRecord& record, int fine);

// Tone byte 4: 12 x octave + note, read as held (either may lie outside the controls' ranges).
struct DetuneOctaveAndNote {
    int octave;
    int note;
};
[[nodiscard]] DetuneOctaveAndNote ReadDetuneOctaveAndNote(const ToneRecord& record);
void WriteDetuneOctaveAndNote(ToneRecord& record, int octave, int note);

// Tone byte 5: the vibrato wave's code; nothing for a code that names no wave.
[[nodiscard]] std::optional<int> ReadVibratoWave(const ToneRecord& record);
void WriteVibratoWave(ToneRecord& record, int wave);

// Each vibrato value is a value byte followed by its 16-bit coefficient; only the value is read.
enum class VibratoValue { Delay, Rate, Depth };
[[nodiscard]] int ReadVibratoValue(const ToneRecord& record, VibratoValue which);
void WriteVibratoValue(ToneRecord& record, VibratoValue which, int value);

// A line's (1 or 2) waveform and resonance bytes; the modulation is written on line 1 only.
[[nodiscard]] WaveBytes ReadWaveBytes(const ToneRecord& record, int line);
void WriteWaveforms(ToneRecord& record, int line, int waveform1, int waveform2, int modulation);

// A line's DCA or DCW key follow: a value byte, of which only the low entry is read, followed
// by the code byte of that value.
[[nodiscard]] int ReadKeyFollow(const ToneRecord& record, int line, EnvelopeKind kind);
void WriteKeyFollow(ToneRecord& record, int line, EnvelopeKind kind, int value);

// An envelope's end step (element 0 to 7), read from its low entry only.
[[nodiscard]] int ReadEndStep(const ToneRecord& record, EnvelopeId envelope);
void WriteEndStep(ToneRecord& record, EnvelopeId envelope, int endStep);

// Steps are given by index 0 to 7. A rate byte carries the falling flag when its step falls: its
// level is lower than the level of the step before (the first step never falls).
[[nodiscard]] constexpr bool StepFalls(int index, int level, int previousLevel) {
    return index > 0 && level < previousLevel;
}
[[nodiscard]] int ReadRate(const ToneRecord& record, EnvelopeId envelope, int index);
void WriteRate(ToneRecord& record, EnvelopeId envelope, int index, int rate, bool falling);

// A level byte carries the sustain flag on the sustain step.
struct LevelByte {
    int level;
    bool sustain;
};
[[nodiscard]] LevelByte ReadLevel(const ToneRecord& record, EnvelopeId envelope, int index);
void WriteLevel(ToneRecord& record, EnvelopeId envelope, int index, int level, bool sustain);

}  // namespace voxtane
