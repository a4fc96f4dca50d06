#pragma once

#include <QString>
#include <QWidget>

#include "editor/tone_controls.h"

namespace voxtane::qt {

// Where one envelope group stands and what its widgets are called.
struct EnvelopeGroupDesign {
    QString frameName;   // the group box, "Frame15"
    QString innerName;   // the untitled box around the end options, "Frame25"
    QString title;       // "DCO 1"
    QString prefix;      // the controls' common part, "DCO1": txtDCO1Rate, optDCO1S, ...
    int leftTwips;       // the group's left edge in the window
    int firstStepLabel;  // index of its "1" in the step label array Label1
};

// An envelope group: headings "Rate", "Level", "S" and "E", step numbers 1 to 8, and per step a
// rate box, a level box, a sustain option and an end option, all bound to `envelope`.
void AddEnvelopeGroup(QWidget& parent, const EnvelopeGroupDesign& design,
                      editor::EnvelopeControls& envelope);

}  // namespace voxtane::qt
