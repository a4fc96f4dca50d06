#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace voxtane::midi {

// The output the editor's senders use, read once where it enters (the device list, MIDI Setup,
// its text form) so that no sender parses it again: an entry of the device list ("Device not
// enabled" is entry 0, the default output), nothing chosen yet (as entry 0), or no output at all.
class MidiOutputChoice {
  public:
    constexpr MidiOutputChoice() = default;
    // Entry `index` of the device list; -1 is a click that selected no entry.
    [[nodiscard]] static MidiOutputChoice Entry(int index);
    [[nodiscard]] static MidiOutputChoice NoOutput();
    // The text form: " 2" for entry 2 (an entry's number as the list keeps it, read up to the
    // first character that is not part of it), "N" for no output, "" for nothing chosen.
    [[nodiscard]] static MidiOutputChoice FromText(std::string_view text);
    [[nodiscard]] std::string Text() const;

    [[nodiscard]] bool SendsNothing() const { return kind_ == Kind::NoOutput; }
    // The device list's entry; 0 when nothing is chosen or there is no output.
    [[nodiscard]] std::int32_t ListEntry() const { return kind_ == Kind::Entry ? entry_ : 0; }
    // The device id a sender opens: the entry minus 1, so entry 0 gives -1, the default output.
    [[nodiscard]] std::int32_t DeviceId() const { return ListEntry() - 1; }

    friend bool operator==(const MidiOutputChoice&, const MidiOutputChoice&) = default;

  private:
    enum class Kind { NotChosen, Entry, NoOutput };
    Kind kind_ = Kind::NotChosen;
    std::int32_t entry_ = 0;
};

}  // namespace voxtane::midi
