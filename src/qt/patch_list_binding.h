#pragma once

#include <QComboBox>

#include "bank/bank_limits.h"
#include "editor/patch_list.h"

namespace voxtane::qt {

// Binds an editable combo box to the patch list: a pick from the drop-down selects the entry, and
// every edit of its text field renames the current patch. The box shows the model's entries,
// selection, text and caret. A pick from the drop-down moves the focus on to the next control.
void BindPatchList(editor::PatchList& model, QComboBox& combo);

}  // namespace voxtane::qt
