#pragma once

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "midi/device_window.h"

namespace voxtane::midi {

// A device window answered by a script instead of a user, for tests and the command line: it
// records what it showed and clicks the queued entries, by index or by text, while it is open.
// When the script runs out with the window still open, the user has closed it.
class ScriptedDeviceWindow : public DeviceWindow {
  public:
    struct Shown {
        std::string caption;
        std::vector<std::string> entries;
    };

    // A click on entry `index` (-1: a click that leaves no entry selected).
    void QueueClick(int index) { clicks_.emplace_back(index); }
    // A click on the first entry with exactly this text.
    void QueueClickOn(std::string entryText) { clicks_.emplace_back(std::move(entryText)); }

    [[nodiscard]] const std::vector<Shown>& Showings() const { return showings_; }
    // Texts asked for that no entry had when the window was shown.
    [[nodiscard]] const std::vector<std::string>& Unmatched() const { return unmatched_; }

    void ShowModal(VBSYXMID& window) override;

  private:
    std::deque<std::variant<int, std::string>> clicks_;
    std::vector<Shown> showings_;
    std::vector<std::string> unmatched_;
};

}  // namespace voxtane::midi
