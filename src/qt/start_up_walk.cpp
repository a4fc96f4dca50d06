#include "qt/start_up_walk.h"

#include <QAction>
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <string_view>

namespace voxtane::qt {

StartUpWalk::StartUpWalk(QWidget& mainWindow) : mainWindow_(mainWindow) {
    // A timer keeps firing inside the modal dialogs' own event loops, so one step a tick can
    // close them as well as the main window.
    connect(&timer_, &QTimer::timeout, this, &StartUpWalk::Step);
    timer_.start(50);
}

void StartUpWalk::Report(const QWidget& window) {
    std::printf("window: %s\n", window.windowTitle().toUtf8().constData());
    std::fflush(stdout);
}

void StartUpWalk::Step() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->isVisible()) return;
        Report(*modal);
        modal->close();
        return;
    }
    if (!mainWindow_.isVisible()) return;
    if (!mainReported_) {
        Report(mainWindow_);
        mainReported_ = true;
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &mainWindow_ || !window->isVisible() || closed_.contains(window)) continue;
        Report(*window);
        closed_.insert(window);
        window->close();
        return;
    }
    if (!entries_.isEmpty()) {
        if (auto* entry = mainWindow_.findChild<QAction*>(entries_.takeFirst())) {
            // Queued, so that this tick returns before a modal window's own event loop starts.
            QMetaObject::invokeMethod(entry, &QAction::trigger, Qt::QueuedConnection);
        }
        return;
    }
    timer_.stop();
    QApplication::exit(0);
}

bool WalkWindowsRequested(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--walk-windows") return true;
    return false;
}

}  // namespace voxtane::qt
