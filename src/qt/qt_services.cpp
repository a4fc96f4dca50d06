#include "qt/qt_services.h"

namespace voxtane::qt {

QtTicker::QtTicker() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        const std::function<void()> tick = tick_;  // it may stop the ticker while it runs
        if (tick) tick();
    });
}

void QtTicker::Start(std::chrono::milliseconds interval, std::function<void()> tick) {
    tick_ = std::move(tick);
    if (!timer_.isActive() || timer_.intervalAsDuration() != interval) timer_.start(interval);
}

void QtTicker::Stop() {
    timer_.stop();
    tick_ = nullptr;
}

std::optional<std::string> QtSettingsStore::Read(const std::string& key) const {
    const QVariant value = settings_.value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& key, const std::string& value) {
    settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

}  // namespace voxtane::qt
