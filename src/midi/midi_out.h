#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "midi/midi_backend.h"
#include "midi/mm_system.h"

namespace voxtane::midi {

// The MIDI output functions of the multimedia API, as members of the object one program run
// owns, over the MIDI systems of a backend. Results keep the API's numbering; every failure is
// remembered with the backend's reason, which midiOutGetErrorTextA adds to its description.
class MidiOut {
  public:
    explicit MidiOut(MidiBackend& backend) : backend_(backend) {}
    MidiOut(const MidiOut&) = delete;
    MidiOut& operator=(const MidiOut&) = delete;
    // Outputs still open at the end of the run are closed, so that what was sent gets out.
    ~MidiOut();

    // Lists the devices afresh; device ids of later calls refer to this list.
    [[nodiscard]] UINT midiOutGetNumDevs();
    [[nodiscard]] MMRESULT midiOutGetDevCapsA(std::int32_t uDeviceID, MIDIOUTCAPSA* pmoc,
                                              UINT cbmoc);
    // uDeviceID -1 (MIDI_MAPPER) opens the program's own default output.
    [[nodiscard]] MMRESULT midiOutOpen(HMIDIOUT* phmo, std::int32_t uDeviceID, DWORD_PTR dwCallback,
                                       DWORD_PTR dwInstance, DWORD fdwOpen);
    // Returns once everything sent on the handle has been handed to the MIDI system.
    [[nodiscard]] MMRESULT midiOutClose(HMIDIOUT hmo);
    [[nodiscard]] MMRESULT midiOutPrepareHeader(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh);
    // Sends lpData[0 .. dwBufferLength) as one message; the bytes have been handed on when it
    // returns, so the header is done at once and the buffer may go.
    [[nodiscard]] MMRESULT midiOutLongMsg(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh);
    [[nodiscard]] MMRESULT midiOutUnprepareHeader(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh);
    // dwMsg packs the status byte in its lowest byte, then the data bytes.
    [[nodiscard]] MMRESULT midiOutShortMsg(HMIDIOUT hmo, DWORD dwMsg);
    [[nodiscard]] MMRESULT midiOutGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText);

  private:
    [[nodiscard]] MMRESULT Fail(MMRESULT code, std::string reason);
    [[nodiscard]] MMRESULT Result(BackendStatus status);
    [[nodiscard]] OutputConnection* Find(HMIDIOUT hmo);
    [[nodiscard]] std::size_t ListedCount();
    [[nodiscard]] std::optional<MMRESULT> CheckHeader(HMIDIOUT hmo, const MIDIHDR* pmh, UINT cbmh);

    MidiBackend& backend_;
    std::optional<std::size_t> listed_;  // devices of the last listing
    std::map<std::uint32_t, std::unique_ptr<OutputConnection>> open_;
    std::uint32_t nextHandle_ = 1;
    BackendStatus lastFailure_;
};

}  // namespace voxtane::midi
