#include "qt/control_binding.h"

#include <QAbstractButton>
#include <QPointer>
#include <QSignalBlocker>

namespace voxtane::qt {
namespace {

QString FromModel(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void BindOptionArray(editor::OptionArray& model, QButtonGroup& group) {
    group.setExclusive(true);
    const QPointer<QButtonGroup> guard(&group);
    auto show = [&model, guard] {
        if (!guard) return;
        if (QAbstractButton* button = guard->button(model.Selected())) {
            const QSignalBlocker blocker(button);
            button->setChecked(true);
        }
    };
    show();
    model.observers.Add(show);
    // idClicked comes from a user's click (mouse, space or arrow keys), also on the element that
    // is already selected, which the model then raises again as the editor expects.
    QObject::connect(&group, &QButtonGroup::idClicked, &group, [&model](int id) {
        if (model.IsValidIndex(id)) model.Click(id);
    });
}

void BindScrollBar(editor::ScrollBar& model, QScrollBar& bar) {
    bar.setOrientation(Qt::Horizontal);
    bar.setRange(model.Min(), model.Max());
    bar.setPageStep(model.LargeChange());
    bar.setSingleStep(1);
    const QPointer<QScrollBar> guard(&bar);
    auto show = [&model, guard] {
        if (!guard || guard->value() == model.Value()) return;
        const QSignalBlocker blocker(guard.data());
        guard->setValue(model.Value());
    };
    show();
    model.observers.Add(show);
    // Signals are blocked while the model's value is shown, so this is a user's move.
    QObject::connect(&bar, &QScrollBar::valueChanged, &bar,
                     [&model](int value) { model.SetValue(value); });
}

void BindLabel(editor::Label& model, QLabel& label) {
    const QPointer<QLabel> guard(&label);
    auto show = [&model, guard] {
        if (guard) guard->setText(FromModel(model.Text()));
    };
    show();
    model.observers.Add(show);
}

void BindTextBox(editor::TextBoxArray& model, int index, QLineEdit& edit) {
    const QPointer<QLineEdit> guard(&edit);
    auto show = [&model, index, guard](int changed) {
        if (changed != index || !guard) return;
        const QString text = FromModel(model.Text(index));
        // While the user types the box already shows the text; leave its caret and undo alone.
        if (guard->text() != text) guard->setText(text);
    };
    edit.setText(FromModel(model.Text(index)));
    model.observers.Add(show);
    // textEdited comes at every keystroke, paste or undo of the user, never for setText.
    QObject::connect(&edit, &QLineEdit::textEdited, &edit, [&model, index](const QString& text) {
        model.SetText(index, text.toStdString());
    });
}

}  // namespace voxtane::qt
