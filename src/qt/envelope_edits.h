#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "editor/form1.h"
#include "qt/envelope_graph.h"

namespace voxtane::qt {

// Writes the numbers the envelope graphs ask for into the step's rate and level boxes, as
// typing them there would: every encoding rule (falling flags, sustain flags) stays the boxes'
// own. One drag is one step of the history, named after the envelope's step; presses of the
// keys on one step in a row count as one, as typing in one box does.
class EnvelopeEdits : public QObject {
    Q_OBJECT

  public:
    EnvelopeEdits(editor::Form1& form, QObject* parent);
    ~EnvelopeEdits() override;
    EnvelopeEdits(const EnvelopeEdits&) = delete;
    EnvelopeEdits& operator=(const EnvelopeEdits&) = delete;

    void Watch(EnvelopeGraph& graph);

  private:
    void Write(EnvelopeId id, int step, int rate, int level);

    editor::Form1& form_;
    std::optional<editor::StepScope> drag_;
};

// "DCA 1 Step 3": the name of the history step a graph's edit makes.
[[nodiscard]] std::string GraphStepName(EnvelopeId id, int step);

}  // namespace voxtane::qt
