// The floor of the start-up benchmark: the least Qt Widgets program that shows a dialog with a
// list, as the editor's first window is. It ends at its window's first expose as the editor
// does, through the same watch.
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QVBoxLayout>

#include "qt/shown_exit.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    voxtane::qt::ExitWhenShownIfAsked();
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("MIDI Output Devices"));
    auto* list = new QListWidget(&dialog);
    list->addItem(QStringLiteral("Device not enabled"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    dialog.resize(340, 200);
    dialog.show();
    return QApplication::exec();
}
