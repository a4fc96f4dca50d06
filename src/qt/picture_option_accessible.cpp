#include "qt/picture_option_accessible.h"

#include <QAccessibleWidget>
#include <QToolButton>

namespace voxtane::qt {
namespace {

class PictureOption : public QAccessibleWidget {
  public:
    explicit PictureOption(QToolButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }

    [[nodiscard]] QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    [[nodiscard]] QToolButton* Button() const { return static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* PictureOptionFactory(const QString& className, QObject* object) {
    auto* button = qobject_cast<QToolButton*>(object);
    if (className != QLatin1String("QToolButton") || button == nullptr || !button->isCheckable() ||
        !button->autoExclusive())
        return nullptr;
    return new PictureOption(button);
}

}  // namespace

void PresentPictureOptionsAsOptionButtons() {
    static const bool installed = [] {
        QAccessible::installFactory(PictureOptionFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace voxtane::qt
