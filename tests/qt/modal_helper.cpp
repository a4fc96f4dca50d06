#include "modal_helper.h"

#include <QApplication>
#include <QTimer>

namespace voxtane::qttest {

QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> act) {
    // Looks again every few milliseconds; gives up after a while, so that a window that never
    // opens leaves no timer behind.
    constexpr int kLooks = 1000;
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    auto looks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, looks, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        } else if (++*looks == kLooks) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
    return poll;
}

void StopWatching(const QPointer<QTimer>& watch) {
    if (!watch) return;
    watch->stop();
    watch->deleteLater();
}

}  // namespace voxtane::qttest
