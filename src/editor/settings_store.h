#pragma once

#include <map>
#include <optional>
#include <string>

namespace voxtane::editor {

// Where the settings of the editor's own additions (the MIDI input, the channel, switches) are
// kept between runs. The window keeps them in the desktop's settings; tests and the command
// line in memory. What the editor always did keeps no settings.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    [[nodiscard]] virtual std::optional<std::string> Read(const std::string& key) const = 0;
    virtual void Write(const std::string& key, const std::string& value) = 0;
};

class MemorySettings : public SettingsStore {
  public:
    [[nodiscard]] std::optional<std::string> Read(const std::string& key) const override {
        const auto found = values_.find(key);
        if (found == values_.end()) return std::nullopt;
        return found->second;
    }
    void Write(const std::string& key, const std::string& value) override { values_[key] = value; }

  private:
    std::map<std::string, std::string> values_;
};

}  // namespace voxtane::editor
