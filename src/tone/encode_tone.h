#pragma once

#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

// Making a record from typed values, the inverse of DecodeTone. A record is written in parts,
// each part the bytes one edit of the editor writes (line select and octave range share one; a
// level also rewrites the rates of its step and of the next, whose falling flags follow it).
namespace voxtane {

// `base` with each part whose values differ between `tone` and `shown` written anew from `tone`,
// as the editor's handlers write it; every other bit of `base` is kept. `shown` is what `base`
// shows: DecodeTone(base, ...).tone, or the controls' values when a window edits it.
[[nodiscard]] ToneRecord EncodeTone(const DecodedTone& tone, const ToneRecord& base,
                                    const DecodedTone& shown);

// As above, with what `base` shows decoded from it. Where base holds a value that cannot be
// shown, the value in `tone` counts as unchanged, so EncodeTone(DecodeTone(r, any).tone, r) == r
// for every record r.
[[nodiscard]] ToneRecord EncodeTone(const DecodedTone& tone, const ToneRecord& base);

// Every part written from `tone` into `base`: the record the editor makes when every control's
// handler runs. Only what no part holds is kept from `base`.
[[nodiscard]] ToneRecord EncodeWholeTone(const DecodedTone& tone, const ToneRecord& base = {});

}  // namespace voxtane
