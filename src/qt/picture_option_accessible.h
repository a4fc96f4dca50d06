#pragma once

namespace voxtane::qt {

// The picture options are tool buttons that behave as option buttons: checkable, one of their
// group at a time. Qt presents checkable tool buttons as check boxes; from this call on a screen
// reader meets those that are auto-exclusive as option (radio) buttons, as they behave. Call it
// before the first window is made; calling it again does nothing.
void PresentPictureOptionsAsOptionButtons();

}  // namespace voxtane::qt
