#pragma once

namespace voxtane::qt {

// A visible mark around whichever control has the keyboard focus, in every window: also around
// the controls the style gives none (picture options, options without a caption, scroll bars,
// the Voice window's own widgets). One frame follows the focus; the style draws it.
void ShowFocusMarks();

}  // namespace voxtane::qt
