#include "midi/scripted_device_window.h"

#include <algorithm>

namespace voxtane::midi {

void ScriptedDeviceWindow::ShowModal(VBSYXMID& window) {
    showings_.push_back({VBSYXMID::Caption, window.List1.Entries()});
    while (window.Visible() && !clicks_.empty()) {
        const auto click = std::move(clicks_.front());
        clicks_.pop_front();
        if (const int* index = std::get_if<int>(&click)) {
            window.Click(*index);
            continue;
        }
        const std::string& text = std::get<std::string>(click);
        const auto& entries = window.List1.Entries();
        const auto found = std::find(entries.begin(), entries.end(), text);
        if (found == entries.end()) {
            unmatched_.push_back(text);
        } else {
            window.Click(static_cast<int>(found - entries.begin()));
        }
    }
}

}  // namespace voxtane::midi
