#pragma once

#include "tone/tone_record.h"

namespace voxtane::editor {

// Where a window that auditions tones (Explore) has them heard on the synth itself: in its
// temporary area, never in a memory. A window sees only this, not the link behind it.
class SynthAudition {
  public:
    virtual ~SynthAudition() = default;
    virtual void AuditionOnSynth(const ToneRecord& tone) = 0;
};

}  // namespace voxtane::editor
