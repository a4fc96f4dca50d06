#include "qt/spoken_widget.h"

#include <QAccessibleWidget>

namespace voxtane::qt {
namespace {

class SpokenAccessible : public QAccessibleWidget {
  public:
    SpokenAccessible(QWidget* widget, const SpokenWidget& spoken)
        : QAccessibleWidget(widget, spoken.SpokenRole()), spoken_(spoken) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return spoken_.SpokenValue();
        return QAccessibleWidget::text(kind);
    }

  private:
    const SpokenWidget& spoken_;
};

// Asked for every class of an object's ancestry, most derived first.
QAccessibleInterface* SpokenFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (const auto* spoken = dynamic_cast<const SpokenWidget*>(widget))
        return new SpokenAccessible(widget, *spoken);
    return nullptr;
}

}  // namespace

void SayValueChanged(QWidget& widget) {
    if (!QAccessible::isActive()) return;
    if (const auto* spoken = dynamic_cast<const SpokenWidget*>(&widget)) {
        QAccessibleValueChangeEvent event(&widget, spoken->SpokenValue());
        QAccessible::updateAccessibility(&event);
    }
}

void InstallSpokenWidgets() {
    QAccessible::installFactory(SpokenFactory);
}

}  // namespace voxtane::qt
