#pragma once

#include <functional>
#include <string>

#include "editor/tone_controls.h"
#include "tone/decoded_tone.h"

// The tone controls as a display of a decoded tone, in both directions.
namespace voxtane::editor {

// What the controls show now, as a tone. A decoding keeps these values where a record holds one
// the controls cannot show.
[[nodiscard]] DecodedTone ShownTone(const ToneControls& controls);

// Sets every tone control to the decoded tone, in the editor's decoding order, with each value
// label following its bar. `say` shows each decoding message just before the controls of its
// step are set, as the editor always has.
void ShowDecodedTone(ToneControls& controls, const ToneDecoding& decoding,
                     const std::function<void(const std::string&)>& say);

}  // namespace voxtane::editor
