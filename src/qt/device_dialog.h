#pragma once

#include <QDialog>
#include <memory>

#include "midi/device_window.h"

class QListWidget;

namespace voxtane::qt {

// The "MIDI Output Devices" window: the list List1 of the device window's model. A click on an
// entry, or Enter on the current one, is the user's choice, which the model takes; the window
// closes when the model hides it. Closing it without a choice leaves the choice as it was.
class DeviceDialog : public QDialog {
    Q_OBJECT

  public:
    explicit DeviceDialog(QWidget* parent = nullptr);

    // Shows the model's entries and runs modally until a choice hides the model or the user
    // closes the window.
    void RunModal(midi::VBSYXMID& window);

  private:
    void Choose(int index);

    QListWidget* list_;
    midi::VBSYXMID* window_ = nullptr;
};

// Shows the device window on screen: made on first use, afterwards only shown again.
class QtDeviceWindow : public midi::DeviceWindow {
  public:
    QtDeviceWindow();
    ~QtDeviceWindow() override;
    QtDeviceWindow(const QtDeviceWindow&) = delete;
    QtDeviceWindow& operator=(const QtDeviceWindow&) = delete;

    void ShowModal(midi::VBSYXMID& window) override;
    [[nodiscard]] DeviceDialog* Dialog() const { return dialog_.get(); }

  private:
    std::unique_ptr<DeviceDialog> dialog_;
};

}  // namespace voxtane::qt
