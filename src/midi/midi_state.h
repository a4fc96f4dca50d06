#pragma once

#include <cstdint>
#include <string>

#include "midi/mm_system.h"
#include "midi/output_choice.h"

namespace voxtane::midi {

// The MIDI state the editor's window and its device list share, one per program run.
struct VBSYXGBL {
    // The device list entry last chosen; nothing until a choice is made.
    MidiOutputChoice MidiDeviceChoice;
    // The id the last sender opened: the choice's entry minus 1, so the first entry gives -1.
    std::int32_t MidiDeviceId = 0;
    // The output open during one operation; meaningless outside it.
    HMIDIOUT MidiOutHandle{};
    // The last SysEx message built for sending, one character per byte.
    std::string SysexMessage;
    // The result of the last capabilities or error-text call.
    MMRESULT MidiResult = MMSYSERR_NOERROR;
};

}  // namespace voxtane::midi
