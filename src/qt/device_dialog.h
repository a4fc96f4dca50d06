#pragma once

#include <QDialog>
#include <chrono>
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
    // closes the window. Already on screen (ShowEarly), it stays there and takes the entries;
    // closed by the user before, it is not shown again: that was the user's answer.
    void RunModal(midi::VBSYXMID& window);

    // Puts the window on screen before the model has entries, and returns once the display has
    // shown it (or after `limit`): the program's first window then appears while the rest of
    // the editor is still being made, and its entries follow once the devices are listed.
    void ShowEarly(std::chrono::milliseconds limit);

  private:
    enum class Early { No, Shown, Closed };

    void Choose(int index);

    QListWidget* list_;
    midi::VBSYXMID* window_ = nullptr;
    Early early_ = Early::No;
};

// Shows the device window on screen: made on first use, afterwards only shown again.
class QtDeviceWindow : public midi::DeviceWindow {
  public:
    QtDeviceWindow();
    ~QtDeviceWindow() override;
    QtDeviceWindow(const QtDeviceWindow&) = delete;
    QtDeviceWindow& operator=(const QtDeviceWindow&) = delete;

    void ShowModal(midi::VBSYXMID& window) override;
    // The window on screen ahead of the editor's first ShowModal (DeviceDialog::ShowEarly).
    void ShowEarly();
    [[nodiscard]] DeviceDialog* Dialog() const { return dialog_.get(); }

  private:
    std::unique_ptr<DeviceDialog> dialog_;
};

}  // namespace voxtane::qt
