#pragma once

#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

namespace voxtane {

// The one built-in tone, as its record: line select 1+1', no detune, no vibrato, sawtooth on
// both lines, flat pitch envelopes, and wave and amplitude envelopes that rise at once to full
// level and fall at rate 50 to nothing, sustaining at step 1 and ending at step 8. The editor
// makes it by setting every control to its default; this is the record that gives.
[[nodiscard]] const ToneRecord& DefaultToneRecord();

// The default tone as the editor shows it, which is also what its controls are designed with.
[[nodiscard]] const DecodedTone& DefaultDecodedTone();

}  // namespace voxtane
