#include "qt/device_dialog.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "qt/twips.h"

namespace voxtane::qt {

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
    window_ = &window;
    {
        const QSignalBlocker blocker(list_);
        list_->clear();
        for (const std::string& entry : window.List1.Entries()) {
            list_->addItem(QString::fromStdString(entry));
        }
        list_->setCurrentRow(window.List1.ListIndex());
    }
    if (window.Visible()) exec();
    window_ = nullptr;
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

}  // namespace voxtane::qt
