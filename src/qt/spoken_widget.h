#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

namespace voxtane::qt {

// A widget that paints itself tells a screen reader through this what it is and what it shows
// now ("C3 to C5", "Step 3: rate 50, level 0"); its name and description are the widget's own.
class SpokenWidget {
  public:
    virtual ~SpokenWidget() = default;
    [[nodiscard]] virtual QAccessible::Role SpokenRole() const = 0;
    [[nodiscard]] virtual QString SpokenValue() const = 0;
};

// Tells a screen reader that `widget`'s spoken value changed.
void SayValueChanged(QWidget& widget);

// Lets Qt's accessibility find the SpokenWidgets; once per application.
void InstallSpokenWidgets();

}  // namespace voxtane::qt
