#pragma once

#include <QComboBox>

#include "ui/patch_list.h"

namespace voxtane::qt {

// The longest name the patch list's text field takes, in characters; the names file keeps no
// more either.
inline constexpr int kMaxPatchNameLength = 1000;

// Binds an editable combo box to the patch list: a pick from the drop-down selects the entry, and
// every edit of its text field renames the current patch. The box shows the model's entries,
// selection, text and caret.
void BindPatchList(ui::PatchList& model, QComboBox& combo);

}  // namespace voxtane::qt
