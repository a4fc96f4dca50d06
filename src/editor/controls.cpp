#include "editor/controls.h"

#include <algorithm>
#include <stdexcept>

namespace voxtane::editor {

void OptionArray::Select(int index) {
    if (!IsValidIndex(index)) throw std::out_of_range("option element out of range");
    if (index == selected_) return;
    if (beforeEvent) beforeEvent(static_cast<std::int16_t>(index));
    selected_ = static_cast<std::int16_t>(index);
    observers.Notify();
    if (onClick) onClick(selected_);
}

void OptionArray::Click(int index) {
    if (!IsValidIndex(index)) throw std::out_of_range("option element out of range");
    if (beforeEvent) beforeEvent(static_cast<std::int16_t>(index));
    if (index != selected_) {
        selected_ = static_cast<std::int16_t>(index);
        observers.Notify();
    }
    if (onClick) onClick(selected_);
}

void ScrollBar::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    if (beforeEvent) beforeEvent(0);
    value_ = value;
    observers.Notify();
    if (onChange) onChange();
}

void Label::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    observers.Notify();
}

void ShowBarValue(const ScrollBar& bar, Label& label) {
    label.SetText(std::to_string(bar.Value()));
}

void TextBoxArray::SetText(int index, std::string text) {
    std::string& current = texts_.at(index);
    if (text == current) return;
    if (beforeEvent) beforeEvent(static_cast<std::int16_t>(index));
    current = std::move(text);
    observers.Notify(index);
    if (onChange) onChange(static_cast<std::int16_t>(index));
}

}  // namespace voxtane::editor
