#include "qt/shown_exit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace voxtane::qt {
namespace {

class FirstExposeWatch : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* object, QEvent* event) override {
        // An expose of a window that is mapped: the display shows it now, or with its next
        // frame.
        if (event->type() == QEvent::Expose && object->isWindowType() &&
            static_cast<QWindow*>(object)->isExposed()) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("%lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

}  // namespace

void ExitWhenShownIfAsked() {
    if (qEnvironmentVariableIsEmpty(kExitWhenShownVariable)) return;
    QCoreApplication::instance()->installEventFilter(
        new FirstExposeWatch(QCoreApplication::instance()));
}

}  // namespace voxtane::qt
