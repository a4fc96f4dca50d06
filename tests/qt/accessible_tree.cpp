#include "accessible_tree.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QSet>
#include <QtTest>

namespace voxtane::qttest {
namespace {

const QSet<QAccessible::Role> kInteractive{
    QAccessible::Button,     QAccessible::CheckBox,     QAccessible::RadioButton,
    QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::ScrollBar,
    QAccessible::Slider,     QAccessible::SpinBox,      QAccessible::List,
    QAccessible::Table,      QAccessible::Tree,         QAccessible::MenuItem,
    QAccessible::ButtonMenu, QAccessible::PageTab};
// Controls whose children are their parts (entries, arrows, the text field), not controls.
const QSet<QAccessible::Role> kWhole{
    QAccessible::ComboBox, QAccessible::SpinBox, QAccessible::ScrollBar, QAccessible::Slider,
    QAccessible::List,     QAccessible::Table,   QAccessible::Tree};

bool TakesFocus(QAccessibleInterface* node) {
    const auto* widget = qobject_cast<const QWidget*>(node->object());
    return widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// A control is what a user operates: a known interactive role, or anything that takes focus (a
// piano strip, a graph whose points move by keys).
void Walk(QAccessibleInterface* node, QList<QAccessibleInterface*>& found) {
    if (node == nullptr || node->state().invisible) return;
    if (kInteractive.contains(node->role()) || TakesFocus(node)) found << node;
    if (kWhole.contains(node->role())) return;
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), found);
}

}  // namespace

bool IsTabStop(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.isEnabled();
}

const QObject* TabStopOf(const QWidget& widget) {
    const auto* option = qobject_cast<const QAbstractButton*>(&widget);
    if (option == nullptr || !option->isCheckable()) return &widget;
    if (option->group() != nullptr && option->group()->exclusive()) return option->group();
    return option->autoExclusive() ? option->parent() : &widget;
}

QList<QAccessibleInterface*> InteractiveControls(QWidget& window) {
    QList<QAccessibleInterface*> found;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    for (int i = 0; i < root->childCount(); ++i) Walk(root->child(i), found);
    return found;
}

QString SpokenName(QAccessibleInterface* control) {
    return control->text(QAccessible::Name);
}

QStringList NameProblems(QWidget& window) {
    QStringList problems;
    QMap<QString, QString> owners;
    for (QAccessibleInterface* control : InteractiveControls(window)) {
        const QString name = SpokenName(control);
        const QString who = control->object()->objectName();
        if (name.trimmed().isEmpty())
            problems << QStringLiteral("no name: %1").arg(who);
        else if (owners.contains(name))
            problems << QStringLiteral("\"%1\" twice: %2, %3").arg(name, owners[name], who);
        owners.insert(name, who);
    }
    return problems;
}

QList<QWidget*> TabTour(QWidget& window, QStringList& problems) {
    QList<QWidget*> controls;
    QList<const QObject*> stops;
    for (QAccessibleInterface* control : InteractiveControls(window)) {
        auto* widget = qobject_cast<QWidget*>(control->object());
        if (widget == nullptr || !IsTabStop(*widget)) continue;
        controls << widget;
        if (!stops.contains(TabStopOf(*widget))) stops << TabStopOf(*widget);
    }
    if (controls.isEmpty()) return {};
    // The control a focused part belongs to: a combo box for its text field.
    auto controlOf = [&controls](QWidget* widget) {
        while (widget != nullptr && !controls.contains(widget)) widget = widget->parentWidget();
        return widget;
    };
    controls.front()->setFocus(Qt::TabFocusReason);
    QList<QWidget*> tour;
    QList<const QObject*> visited;
    for (qsizetype i = 0; i < stops.size(); ++i) {
        QWidget* now = controlOf(window.focusWidget());
        if (now == nullptr) {
            problems << QStringLiteral("Tab went from %1 out of the controls")
                            .arg(tour.isEmpty() ? QString() : tour.back()->objectName());
            break;
        }
        if (visited.contains(TabStopOf(*now)))
            problems << QStringLiteral("twice: %1").arg(now->objectName());
        tour << now;
        visited << TabStopOf(*now);
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    }
    if (!tour.isEmpty() && controlOf(window.focusWidget()) != tour.front())
        problems << QStringLiteral("Tab does not come back to the first control");
    for (const QObject* stop : stops)
        if (!visited.contains(stop))
            problems << QStringLiteral("never: %1").arg(stop->objectName());
    return tour;
}

}  // namespace voxtane::qttest
