#include "qt/accessible_names.h"

#include <QComboBox>
#include <QPointer>
#include <QRegularExpression>
#include <optional>
#include <string>

#include "editor/control_words.h"
#include "qt/named_list_accessible.h"

namespace voxtane::qt {
namespace {

struct ControlOfWidget {
    std::string control;
    int index;  // the element, or -1 for a whole control
};

std::optional<ControlOfWidget> ControlOf(const QWidget& widget) {
    static const QRegularExpression form(QStringLiteral("^(\\w+)(?:\\((\\d+)\\))?$"));
    const QRegularExpressionMatch match = form.match(widget.objectName());
    if (!match.hasMatch()) return std::nullopt;
    ControlOfWidget found{match.captured(1).toStdString(),
                          match.hasCaptured(2) ? match.captured(2).toInt() : -1};
    if (!editor::HasWords(found.control)) return std::nullopt;
    return found;
}

void Describe(QWidget& widget, const ControlOfWidget& control, editor::ToneControls& tone) {
    int sustain = -1;
    int end = -1;
    if (const auto envelope = editor::EnvelopeOfControl(control.control)) {
        sustain = tone.envelopes[*envelope].sustain.Selected();
        end = tone.envelopes[*envelope].end.Selected();
    }
    const QString sentence =
        QString::fromStdString(editor::Description(control.control, control.index, sustain, end));
    if (widget.accessibleDescription() == sentence) return;
    widget.setAccessibleDescription(sentence);
    widget.setToolTip(sentence);
}

}  // namespace

void NameControls(QWidget& window, editor::ToneControls& tone) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const auto control = ControlOf(*widget);
        if (!control) continue;
        const QString name =
            QString::fromStdString(editor::AccessibleName(control->control, control->index));
        widget->setAccessibleName(name);
        if (auto* list = qobject_cast<QComboBox*>(widget); list != nullptr && list->isEditable())
            SpeakAsNamedList(*list, name + QStringLiteral(" text"));
        Describe(*widget, *control, tone);
        // A moved sustain or end mark changes what every box of its envelope says of the marks.
        if (const auto envelope = editor::EnvelopeOfControl(control->control)) {
            const QPointer<QWidget> guard(widget);
            auto redescribe = [guard, control = *control, &tone] {
                if (guard) Describe(*guard, control, tone);
            };
            tone.envelopes[*envelope].sustain.observers.Add(redescribe);
            tone.envelopes[*envelope].end.observers.Add(redescribe);
        }
    }
}

}  // namespace voxtane::qt
