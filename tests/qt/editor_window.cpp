#include "editor_window.h"

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace voxtane::qttest {

EditorWindow::EditorWindow(const EditorSetup& setup)
    : platform(setup.programFolder),
      midiBackend(setup.midiDevices),
      run(platform, midiBackend, deviceWindow, clock),
      window(run, setup.audio) {
    if (setup.deviceChoice) deviceWindow.QueueClick(*setup.deviceChoice);
    run.Start();
}

bool EditorWindow::ShowActive() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void ClickOption(QAbstractButton* button) {
    QPoint where = button->rect().center();
    if (auto* radio = qobject_cast<QRadioButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        where = radio->style()
                    ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio)
                    .center();
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

QString Element(const char* array, int index) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(array)).arg(index);
}

}  // namespace voxtane::qttest
