#pragma once

#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

namespace voxtane {

// The one built-in tone: line select 1+1', no detune, no vibrato, sawtooth on both lines, flat
// pitch envelopes, and wave and amplitude envelopes that rise at once to full level and fall at
// rate 50 to nothing, sustaining at step 1 and ending at step 8. It is what the editor's
// controls are designed with and what it sets them to for a new patch.
[[nodiscard]] const DecodedTone& DefaultDecodedTone();

// The default tone as its record: every part written, as setting every control to its default
// writes it.
[[nodiscard]] const ToneRecord& DefaultToneRecord();

}  // namespace voxtane
