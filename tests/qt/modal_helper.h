#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace voxtane::qttest {

// Hands the next modal window to `act` as soon as it is shown, while the code that opened it
// waits in the window's own event loop. `act` must close the window. The returned watch can be
// called off with StopWatching when the window may not come at all.
QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> act);
void StopWatching(const QPointer<QTimer>& watch);

}  // namespace voxtane::qttest
