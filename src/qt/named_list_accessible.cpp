#include "qt/named_list_accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace voxtane::qt {
namespace {

constexpr const char* kNamedList = "voxtaneNamedList";

class NamedListAccessible : public QAccessibleWidget {
  public:
    explicit NamedListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox), list_(list) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return list_->accessibleName();
        if (kind == QAccessible::Value) return list_->currentText();
        return QAccessibleWidget::text(kind);
    }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = list_->isEditable();
        state.expandable = true;
        state.expanded = list_->view()->isVisible();
        return state;
    }
    // The entries, then the field, as the toolkit's own list has them.
    [[nodiscard]] int childCount() const override { return Parts().size(); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        const QList<QObject*> parts = Parts();
        return index >= 0 && index < parts.size()
                   ? QAccessible::queryAccessibleInterface(parts[index])
                   : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr ? -1 : int(Parts().indexOf(child->object()));
    }

  private:
    [[nodiscard]] QList<QObject*> Parts() const {
        QList<QObject*> parts{list_->view()};
        if (list_->lineEdit() != nullptr) parts << list_->lineEdit();
        return parts;
    }
    QComboBox* list_;
};

QAccessibleInterface* NamedListFactory(const QString&, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (list == nullptr || !list->property(kNamedList).toBool()) return nullptr;
    return new NamedListAccessible(list);
}

}  // namespace

void SpeakAsNamedList(QComboBox& list, const QString& fieldName) {
    static const bool installed = [] {
        QAccessible::installFactory(NamedListFactory);
        return true;
    }();
    (void)installed;
    list.setProperty(kNamedList, true);
    // An interface the toolkit made for the list before (a screen reader listening already) is
    // dropped, so that the next one asked for is this one.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&list);
        made != nullptr && dynamic_cast<NamedListAccessible*>(made) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    if (QLineEdit* field = list.lineEdit()) field->setAccessibleName(fieldName);
}

}  // namespace voxtane::qt
