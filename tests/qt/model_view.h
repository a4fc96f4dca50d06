#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "editor_window.h"

namespace voxtane::qttest {

// Whether every tone control's widgets show the model's value: checked element, bar position
// and range, label and box texts. Returns the first widget that differs, or "" when all agree.
[[nodiscard]] QString FirstWidgetNotShowingModel(const EditorWindow& editor);

// Counts the events a model control raises from now on, still running its handler.
template <class... Args>
std::shared_ptr<int> CountRaises(std::function<void(Args...)>& handler) {
    auto count = std::make_shared<int>(0);
    handler = [count, inner = handler](Args... args) {
        ++*count;
        if (inner) inner(args...);
    };
    return count;
}

}  // namespace voxtane::qttest
