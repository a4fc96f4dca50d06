#include "midi/error_text.h"

namespace voxtane::midi {

std::optional<std::string_view> DescribeResult(MMRESULT code) {
    switch (code) {
        case MMSYSERR_NOERROR:
            return "No error";
        case MMSYSERR_ERROR:
            return "The MIDI system reported an error";
        case MMSYSERR_BADDEVICEID:
            return "There is no MIDI output device with this number";
        case MMSYSERR_NOTENABLED:
            return "The MIDI system is not enabled";
        case MMSYSERR_ALLOCATED:
            return "The MIDI output device is in use by another program";
        case MMSYSERR_INVALHANDLE:
            return "The MIDI output is not open";
        case MMSYSERR_NODRIVER:
            return "No MIDI system is running";
        case MMSYSERR_NOMEM:
            return "There is not enough memory for the MIDI output";
        case MMSYSERR_NOTSUPPORTED:
            return "The MIDI system cannot do this";
        case MMSYSERR_BADERRNUM:
            return "This is not a MIDI error number";
        case MMSYSERR_INVALFLAG:
            return "The MIDI output was asked for an option it lacks";
        case MMSYSERR_INVALPARAM:
            return "The MIDI output was given something it cannot send";
        case MIDIERR_UNPREPARED:
            return "The message was not prepared for sending";
        case MIDIERR_STILLPLAYING:
            return "The MIDI system has not taken everything sent yet";
        case MIDIERR_NOMAP:
            return "There is no MIDI mapping";
        case MIDIERR_NOTREADY:
            return "The MIDI system is not ready";
        case MIDIERR_NODEVICE:
            return "There is no default MIDI output here: choose a MIDI output device";
        default:
            return std::nullopt;
    }
}

}  // namespace voxtane::midi
