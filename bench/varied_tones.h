#pragma once

#include <string>

#include "editor/form1.h"

// Tones for the benchmarks that differ from one another in every control, so that decoding one
// after another changes every control and runs every handler a real patch change runs.
namespace voxtane::bench {

// Sets every tone control of the current patch as a user would (clicks, slider moves, typed
// texts) to values taken from `seed`; tones of neighbouring seeds differ in every control.
void VaryTone(editor::Form1& form, int seed);

// Fills all 16 patches of the editor's bank with tones of seeds first .. first + 15 and names
// them, leaving patch 1 selected.
void VaryBank(editor::Form1& form, int first);

}  // namespace voxtane::bench
