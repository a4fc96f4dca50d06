#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class QWidget;

namespace voxtane::qt {

// `voxtane --walk-windows`: goes through the windows a user meets first (the device list, the
// main window, the about box, the Voice window), closing each as soon as it shows and naming it
// on standard output, then ends the program with status 0. It proves that an installed program
// finds its libraries, its platform plug-in and its files without a person at the screen; the
// package check runs it on the offscreen platform.
class StartUpWalk : public QObject {
    Q_OBJECT
  public:
    explicit StartUpWalk(QWidget& mainWindow);

  private:
    void Step();
    static void Report(const QWidget& window);

    QWidget& mainWindow_;
    QTimer timer_;
    bool mainReported_ = false;
    QSet<const QWidget*> closed_;
    // The menu entries that open the other windows, in order.
    QStringList entries_{QStringLiteral("cmdAbout"), QStringLiteral("cmdVoice")};
};

// True when the command line asks for the walk.
[[nodiscard]] bool WalkWindowsRequested(int argc, char* argv[]);

}  // namespace voxtane::qt
