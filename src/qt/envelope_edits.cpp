#include "qt/envelope_edits.h"

namespace voxtane::qt {

std::string GraphStepName(EnvelopeId id, int step) {
    return std::string(kEnvelopes[id].caption) + " Step " + std::to_string(step);
}

EnvelopeEdits::EnvelopeEdits(editor::Form1& form, QObject* parent) : QObject(parent), form_(form) {}

// A drag cut short by the window's end still ends its step.
EnvelopeEdits::~EnvelopeEdits() = default;

void EnvelopeEdits::Watch(EnvelopeGraph& graph) {
    const EnvelopeId id = graph.Envelope();
    connect(&graph, &EnvelopeGraph::dragStarted, this, [this, id](int step) {
        drag_.reset();
        drag_.emplace(form_.stepWatcher, GraphStepName(id, step));
    });
    connect(&graph, &EnvelopeGraph::stepDragged, this,
            [this, id](int step, int rate, int level) { Write(id, step, rate, level); });
    connect(&graph, &EnvelopeGraph::dragFinished, this, [this] { drag_.reset(); });
    connect(&graph, &EnvelopeGraph::stepNudged, this, [this, id](int step, int rate, int level) {
        const std::string name = GraphStepName(id, step);
        const editor::StepScope scope(form_.stepWatcher, name, "graph " + name);
        Write(id, step, rate, level);
    });
}

// The rate first, then the level, as the boxes stand from left to right; the level's change
// encodes the rates of its step and the next again, so the order leaves the same record.
void EnvelopeEdits::Write(EnvelopeId id, int step, int rate, int level) {
    editor::EnvelopeControls& controls = form_.envelopes[id];
    controls.rate.SetText(step - 1, std::to_string(rate));
    controls.level.SetText(step - 1, std::to_string(level));
}

}  // namespace voxtane::qt
