#include "qt/focus_mark.h"

#include <QApplication>
#include <QFocusFrame>
#include <QPointer>
#include <QWidget>

namespace voxtane::qt {
namespace {

// Owned by the application. The frame is a child of the focused control's parent, so it goes
// with its window; a new one is made when the last one went.
class FocusMarker : public QObject {
  public:
    explicit FocusMarker(QApplication& app) : QObject(&app) {
        connect(&app, &QApplication::focusChanged, this, &FocusMarker::Follow);
    }

  private:
    void Follow(QWidget*, QWidget* now) {
        if (now == nullptr || now->isWindow()) {
            if (frame_) frame_->setWidget(nullptr);
            return;
        }
        if (!frame_) frame_ = new QFocusFrame(now);
        frame_->setWidget(now);
    }

    QPointer<QFocusFrame> frame_;
};

}  // namespace

void ShowFocusMarks() {
    new FocusMarker(*qApp);
}

}  // namespace voxtane::qt
