#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Model objects for the editor's controls. Each holds its value and raises its event handler
// synchronously when the value changes, as the editor's procedures rely on; observers (the
// window) follow the value without raising anything.
namespace voxtane::editor {

// A list of callbacks told about every change of a control's value.
template <class... Args>
class Observers {
  public:
    using Callback = std::function<void(Args...)>;
    void Add(Callback callback) { callbacks_.push_back(std::move(callback)); }
    void Notify(Args... args) const {
        for (const auto& callback : callbacks_) callback(args...);
    }

  private:
    std::vector<Callback> callbacks_;
};

// An indexed group of option buttons with exactly one element selected.
class OptionArray {
  public:
    OptionArray(int count, int designIndex) : count_(count), selected_(designIndex) {}

    [[nodiscard]] int Count() const { return count_; }
    [[nodiscard]] std::int16_t Selected() const { return selected_; }
    [[nodiscard]] bool Value(int index) const { return index == selected_; }
    [[nodiscard]] bool IsValidIndex(int index) const { return index >= 0 && index < count_; }

    // Selecting from code raises the click only when the element was not selected already; the
    // element that loses the selection raises nothing.
    void Select(int index);
    // A user's click raises the click event also on the element already selected.
    void Click(int index);

    std::function<void(std::int16_t index)> onClick;
    // Called right before a value changes and its event is raised (the history keeps the state
    // before each edit).
    std::function<void(std::int16_t index)> beforeEvent;
    Observers<> observers;

  private:
    int count_;
    std::int16_t selected_;
};

// A horizontal scroll bar with a whole-number value between Min and Max.
class ScrollBar {
  public:
    ScrollBar(int min, int max, int largeChange, int designValue)
        : min_(min), max_(max), largeChange_(largeChange), value_(designValue) {}

    [[nodiscard]] int Min() const { return min_; }
    [[nodiscard]] int Max() const { return max_; }
    [[nodiscard]] int LargeChange() const { return largeChange_; }
    [[nodiscard]] int Value() const { return value_; }
    [[nodiscard]] bool InRange(int value) const { return value >= min_ && value <= max_; }

    // The bar cannot hold a value outside its range: one is limited to Min or Max. The change
    // event is raised only when the value differs.
    void SetValue(int value);

    std::function<void()> onChange;
    std::function<void(std::int16_t index)> beforeEvent;  // as OptionArray's
    Observers<> observers;

  private:
    int min_;
    int max_;
    int largeChange_;
    int value_;
};

// A label beside a scroll bar, written by the program only.
class Label {
  public:
    explicit Label(std::string text) : text_(std::move(text)) {}
    [[nodiscard]] const std::string& Text() const { return text_; }
    void SetText(std::string text);
    Observers<> observers;

  private:
    std::string text_;
};

// The label beside a scroll bar shows the bar's value in decimal.
void ShowBarValue(const ScrollBar& bar, Label& label);

// An indexed array of single-line text boxes; the change event carries the element's index and
// is raised at every change of a text.
class TextBoxArray {
  public:
    explicit TextBoxArray(std::vector<std::string> designTexts) : texts_(std::move(designTexts)) {}

    [[nodiscard]] int Count() const { return static_cast<int>(texts_.size()); }
    [[nodiscard]] bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    [[nodiscard]] const std::string& Text(int index) const { return texts_.at(index); }
    void SetText(int index, std::string text);

    std::function<void(std::int16_t index)> onChange;
    std::function<void(std::int16_t index)> beforeEvent;  // as OptionArray's
    Observers<int> observers;

  private:
    std::vector<std::string> texts_;
};

}  // namespace voxtane::editor
