#pragma once

#include <string>
#include <vector>

#include "midi/midi_state.h"

namespace voxtane::midi {

// The list box of the device window: entries set by position and a selection index.
class DeviceListBox {
  public:
    [[nodiscard]] int ListCount() const { return static_cast<int>(entries_.size()); }
    [[nodiscard]] const std::string& List(int index) const { return entries_.at(index); }
    [[nodiscard]] const std::vector<std::string>& Entries() const { return entries_; }
    // Replaces entry `index`; the index one past the last entry adds an entry.
    void SetList(int index, std::string text);
    [[nodiscard]] int ListIndex() const { return listIndex_; }  // -1: no entry selected
    void SetListIndex(int index) { listIndex_ = index; }

  private:
    std::vector<std::string> entries_;
    int listIndex_ = -1;
};

// The window that lists the MIDI output devices at start-up and takes the user's choice into
// the shared MIDI state. Made on first use and afterwards only hidden.
class VBSYXMID {
  public:
    explicit VBSYXMID(VBSYXGBL& vbsyxgbl) : vbsyxgbl_(vbsyxgbl) {}

    static constexpr const char* Caption = "MIDI Output Devices";
    DeviceListBox List1;

    [[nodiscard]] bool Visible() const { return visible_; }
    void Show() { visible_ = true; }
    void Hide() { visible_ = false; }

    // A click in the list: the entry index, or -1 when the click leaves no entry selected.
    void Click(int index);
    void List1_Click();

  private:
    VBSYXGBL& vbsyxgbl_;
    bool visible_ = false;
};

// Shows the device window modally: a real window, or a script standing in for the user.
class DeviceWindow {
  public:
    virtual ~DeviceWindow() = default;
    // Returns once the window has been hidden by a choice or closed by the user; the user's
    // clicks reach the window through VBSYXMID::Click.
    virtual void ShowModal(VBSYXMID& window) = 0;
};

}  // namespace voxtane::midi
