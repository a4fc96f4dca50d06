#pragma once

#include <functional>

#include "editor/tone_controls.h"

// Walks over every tone control: for checks that a record survives being decoded and entered
// again, and for exercising the editor with edits a user could make.
namespace voxtane::editor {

// Runs every tone control's handler once with what the control shows, in the order of
// ToneControls::All(), as re-entering the whole patch by hand would. Each envelope's sustain
// array comes after its level boxes, so the sustain flags end up where the controls show them.
void RaiseEveryHandler(ToneControls& controls);

// Makes one user edit: `below(n)` picks a number from 0 to n - 1, first the control, then the
// element and the value, always one the control can take (envelope texts 0 to 99).
void MakeUserEdit(ToneControls& controls, const std::function<int(int)>& below);

}  // namespace voxtane::editor
