#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tone/envelope_codes.h"

// What each tone control is, in words, from one table beside the controls' names: the names of
// undo steps, and what a screen reader says of each control.
namespace voxtane::editor {

// Whether the table knows the control: a tone control, the patch list or a patch band button.
[[nodiscard]] bool HasWords(std::string_view control);

// The envelope whose rate, level, sustain or end array `control` is ("txtDCA1Rate", "optDCW2E").
[[nodiscard]] std::optional<EnvelopeId> EnvelopeOfControl(std::string_view control);

// The caption the window shows for the control's group ("Fine", "Line Select", "DCW1 Key"),
// with the envelope boxes' field and step: "DCA 1 Rate 3", "DCO 2 Level 8"; an envelope's
// sustain and end options are "DCA 1 Sustain" and "DCA 1 End". Used to name undo steps.
[[nodiscard]] std::string StepName(std::string_view control, int index);

// A name that says what the control is without looking: group, line, step and field ("DCA 1
// step 3 rate", "DCO 1 step 5 sustain", "DCA 2 end step 4", "Line select 1+1'", "DCO 1 waveform
// 1: sawtooth", "Vibrato wave: square", "Detune octave 2", "Detune fine"). Unique among the tone
// controls. `index` is the element of an array, ignored otherwise.
[[nodiscard]] std::string AccessibleName(std::string_view control, int index);

// One short sentence on what the parameter does and its range ("Rate of step 3 of the amplitude
// envelope of line 1: 0 slow to 99 fast."). `sustainStep` and `endStep` (elements 0 to 7) tell
// the envelope boxes which steps hold the marks; other controls ignore them.
[[nodiscard]] std::string Description(std::string_view control, int index, int sustainStep = -1,
                                      int endStep = -1);

}  // namespace voxtane::editor
