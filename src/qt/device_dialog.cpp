#include "qt/device_dialog.h"

#include <QEventLoop>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <functional>
#include <utility>

#include "qt/twips.h"

namespace voxtane::qt {
namespace {

// Tells when the display has a widget's window on screen.
class ExposeWatch : public QObject {
  public:
    // The widget has been shown: its window exists.
    ExposeWatch(const QWidget& widget, std::function<void()> exposed)
        : window_(widget.windowHandle()), exposed_(std::move(exposed)) {
        window_->installEventFilter(this);
    }
    [[nodiscard]] bool Exposed() const { return window_->isExposed(); }

    bool eventFilter(QObject* /*object*/, QEvent* event) override {
        // Seen before the window handles it: the frame it paints is still part of this step.
        if (event->type() == QEvent::Expose && window_->isExposed()) exposed_();
        return false;
    }

  private:
    QWindow* window_;
    std::function<void()> exposed_;
};

}  // namespace

DeviceDialog::DeviceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("VBSYXMID"));
    setWindowTitle(QString::fromLatin1(midi::VBSYXMID::Caption));
    setModal(true);
    // A little larger than designed, so that device names of the MIDI systems here, which are
    // longer than a single product name, stay readable.
    resize(Px(3390) * 3 / 2, Px(1995) * 3 / 2);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setAccessibleName(QStringLiteral("MIDI output devices"));
    list_->setAccessibleDescription(
        QStringLiteral("The device that Send Patch and Play Note use: Enter chooses it."));
    // The list fills the window, 120 twips from its edges.
    auto* layout = new QVBoxLayout(this);
    const int margin = Px(120);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(list_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
}

void DeviceDialog::RunModal(midi::VBSYXMID& window) {
    const Early early = std::exchange(early_, Early::No);
    window_ = &window;
    {
        const QSignalBlocker blocker(list_);
        list_->clear();
        for (const std::string& entry : window.List1.Entries()) {
            list_->addItem(QString::fromStdString(entry));
        }
        list_->setCurrentRow(window.List1.ListIndex());
    }
    if (window.Visible() && early != Early::Closed)
        exec();
    else if (early == Early::Shown)
        hide();
    window_ = nullptr;
}

void DeviceDialog::ShowEarly(std::chrono::milliseconds limit) {
    early_ = Early::Shown;
    connect(
        this, &QDialog::finished, this,
        [this] {
            if (early_ == Early::Shown) early_ = Early::Closed;
        },
        Qt::SingleShotConnection);
    show();
    QEventLoop wait;
    const ExposeWatch watch(*this, [&wait] { wait.quit(); });
    QTimer::singleShot(limit, &wait, &QEventLoop::quit);
    if (!watch.Exposed()) wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void DeviceDialog::Choose(int index) {
    // A click that also activates the entry arrives twice; the first one chose already.
    if (window_ == nullptr || !window_->Visible()) return;
    window_->Click(index);
    if (!window_->Visible()) accept();
}

QtDeviceWindow::QtDeviceWindow() = default;
QtDeviceWindow::~QtDeviceWindow() = default;

void QtDeviceWindow::ShowModal(midi::VBSYXMID& window) {
    if (!dialog_) dialog_ = std::make_unique<DeviceDialog>();
    dialog_->RunModal(window);
}

void QtDeviceWindow::ShowEarly() {
    // Long enough for any display to map a window; past it start-up goes on regardless.
    constexpr std::chrono::milliseconds kLongestWait{500};
    if (!dialog_) dialog_ = std::make_unique<DeviceDialog>();
    dialog_->ShowEarly(kLongestWait);
}

}  // namespace voxtane::qt
