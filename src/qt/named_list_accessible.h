#pragma once

#include <QComboBox>

namespace voxtane::qt {

// An editable list (the patch list) speaks as one control: its own name, the text of its field
// as its value, and a field that is named too. Left to the toolkit, on this system the list's
// name is the text of its field, so a screen reader says the patch's name as the names of both
// the list and the field. `fieldName` names the field.
void SpeakAsNamedList(QComboBox& list, const QString& fieldName);

}  // namespace voxtane::qt
