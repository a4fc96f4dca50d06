#include "qt/entry_notes.h"

#include <QLineEdit>
#include <QPointer>
#include <QStatusBar>
#include <variant>

#include "editor/control_words.h"
#include "editor/envelope_entry.h"

namespace voxtane::qt {
namespace {

// The box's sentence, as the accessible names give it, with the note after it.
void Describe(QLineEdit& box, const editor::Form1& form, const std::string& control, int index,
              const std::string& note) {
    const EnvelopeId envelope = *editor::EnvelopeOfControl(control);
    std::string sentence =
        editor::Description(control, index, form.envelopes[envelope].sustain.Selected(),
                            form.envelopes[envelope].end.Selected());
    if (!note.empty()) sentence += " " + note + ".";
    const QString text = QString::fromStdString(sentence);
    box.setAccessibleDescription(text);
    box.setToolTip(text);
}

}  // namespace

void ShowStoredEnvelopeEntries(QMainWindow& window, editor::Form1& form) {
    // The status bar, not the window: a box loses its focus, and says it finished, while the
    // window is being taken down, when it is a plain widget no longer.
    const QPointer<QStatusBar> status(window.statusBar());
    for (const editor::NamedControl& named : form.All()) {
        auto* const* boxes = std::get_if<editor::TextBoxArray*>(&named.control);
        if (boxes == nullptr || !editor::EnvelopeOfControl(named.name)) continue;
        const std::string control(named.name);
        for (int index = 0; index < (*boxes)->Count(); ++index) {
            auto* box = window.findChild<QLineEdit*>(
                QStringLiteral("%1(%2)").arg(QString::fromStdString(control)).arg(index));
            if (box == nullptr) continue;
            QObject::connect(box, &QLineEdit::editingFinished, box,
                             [status, box, &form, boxes = *boxes, control, index] {
                                 const editor::EnvelopeEntry entry =
                                     editor::ReadEnvelopeEntry(control, index, boxes->Text(index));
                                 editor::ShowStoredNumber(form.module1, *boxes, index);
                                 Describe(*box, form, control, index, entry.note);
                                 if (status && !entry.note.empty())
                                     status->showMessage(QString::fromStdString(entry.note));
                             });
        }
    }
}

}  // namespace voxtane::qt
