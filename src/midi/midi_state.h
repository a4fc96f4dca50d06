#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "midi/mm_system.h"

namespace voxtane::midi {

// The MIDI state the editor's window and its device list share, one per program run.
struct VBSYXGBL {
    // The device list entry last chosen, as the list index in text (" 2"; "-1" for none);
    // "" until a choice is made.
    std::string MidiDeviceChoice;
    // The id each sender opens: the choice's value minus 1, so the first entry gives -1.
    std::int32_t MidiDeviceId = 0;
    // The output open during one operation; meaningless outside it.
    HMIDIOUT MidiOutHandle{};
    // The last SysEx message built for sending, one character per byte.
    std::string SysexMessage;
    // The result of the last capabilities or error-text call.
    MMRESULT MidiResult = MMSYSERR_NOERROR;
};

// The number at the start of a text, as the editor reads one: leading blanks skipped, an
// optional sign, then digits up to the first other character; 0 when there are none.
[[nodiscard]] std::int64_t NumericValue(std::string_view text);

// A list index as the device list stores it: a leading blank for a number that is not negative.
[[nodiscard]] std::string IndexText(int index);

}  // namespace voxtane::midi
