#pragma once

#include <QSettings>
#include <QTimer>

#include "editor/settings_store.h"
#include "editor/ticker.h"

namespace voxtane::qt {

// The editor's ticker on the window's event loop.
class QtTicker : public editor::Ticker {
  public:
    QtTicker();
    void Start(std::chrono::milliseconds interval, std::function<void()> tick) override;
    void Stop() override;

  private:
    QTimer timer_;
    std::function<void()> tick_;
};

// The editor's settings in the desktop's settings (QSettings, under the organization and
// application names that SetUpApplication gives).
class QtSettingsStore : public editor::SettingsStore {
  public:
    [[nodiscard]] std::optional<std::string> Read(const std::string& key) const override;
    void Write(const std::string& key, const std::string& value) override;

  private:
    mutable QSettings settings_;
};

}  // namespace voxtane::qt
