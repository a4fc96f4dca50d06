#include "model_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <variant>

namespace voxtane::qttest {
namespace {

QString NameOf(const editor::NamedControl& control) {
    return QString::fromLatin1(control.name.data(), int(control.name.size()));
}

QString Check(const EditorWindow& editor, const QString& name, const editor::OptionArray& options) {
    for (int i = 0; i < options.Count(); ++i) {
        const auto* button = editor.Widget<QAbstractButton>(Element(qPrintable(name), i));
        if (button == nullptr || button->isChecked() != options.Value(i)) {
            return Element(qPrintable(name), i);
        }
    }
    return {};
}

QString Check(const EditorWindow& editor, const QString& name, const editor::ScrollBar& model) {
    const auto* bar = editor.Widget<QScrollBar>(name);
    const bool same = bar != nullptr && bar->value() == model.Value() &&
                      bar->minimum() == model.Min() && bar->maximum() == model.Max() &&
                      bar->pageStep() == model.LargeChange() && bar->singleStep() == 1;
    return same ? QString() : name;
}

QString Check(const EditorWindow& editor, const QString& name, const editor::Label& model) {
    const auto* label = editor.Widget<QLabel>(name);
    return label != nullptr && label->text() == QString::fromStdString(model.Text()) ? QString()
                                                                                     : name;
}

QString Check(const EditorWindow& editor, const QString& name, const editor::TextBoxArray& boxes) {
    for (int i = 0; i < boxes.Count(); ++i) {
        const auto* box = editor.Widget<QLineEdit>(Element(qPrintable(name), i));
        if (box == nullptr || box->text() != QString::fromStdString(boxes.Text(i))) {
            return Element(qPrintable(name), i);
        }
    }
    return {};
}

}  // namespace

QString FirstWidgetNotShowingModel(const EditorWindow& editor) {
    for (const editor::NamedControl& control : editor.form.All()) {
        const QString differing =
            std::visit([&](const auto* model) { return Check(editor, NameOf(control), *model); },
                       control.control);
        if (!differing.isEmpty()) return differing;
    }
    return {};
}

}  // namespace voxtane::qttest
