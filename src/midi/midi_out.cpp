#include "midi/midi_out.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "midi/error_text.h"
#include "midi/midi_bytes.h"

namespace voxtane::midi {

MidiOut::~MidiOut() {
    for (auto& [handle, connection] : open_) (void)connection->Close();
}

MMRESULT MidiOut::Fail(MMRESULT code, std::string reason) {
    lastFailure_ = {code, std::move(reason)};
    return code;
}

MMRESULT MidiOut::Result(BackendStatus status) {
    if (status.code == MMSYSERR_NOERROR) return MMSYSERR_NOERROR;
    return Fail(status.code, std::move(status.reason));
}

OutputConnection* MidiOut::Find(HMIDIOUT hmo) {
    const auto found = open_.find(static_cast<std::uint32_t>(hmo));
    return found == open_.end() ? nullptr : found->second.get();
}

std::size_t MidiOut::ListedCount() {
    if (!listed_) listed_ = backend_.ListDevices();
    return *listed_;
}

UINT MidiOut::midiOutGetNumDevs() {
    listed_ = backend_.ListDevices();
    return static_cast<UINT>(*listed_);
}

MMRESULT MidiOut::midiOutGetDevCapsA(std::int32_t uDeviceID, MIDIOUTCAPSA* pmoc, UINT cbmoc) {
    if (pmoc == nullptr || cbmoc == 0) return Fail(MMSYSERR_INVALPARAM, "");
    if (uDeviceID < 0 || static_cast<std::size_t>(uDeviceID) >= ListedCount())
        return Fail(MMSYSERR_BADDEVICEID, "");
    DeviceName device = backend_.NameOf(static_cast<std::size_t>(uDeviceID));
    if (device.status.code != MMSYSERR_NOERROR) return Result(std::move(device.status));

    MIDIOUTCAPSA caps{};
    caps.wTechnology = MOD_MIDIPORT;
    caps.wChannelMask = 0xFFFF;
    const std::string name = CutUtf8(device.name, MAXPNAMELEN - 1);
    std::memcpy(caps.szPname, name.data(), name.size());
    // A caller with an older, shorter record gets the part that fits.
    std::memcpy(pmoc, &caps, std::min<std::size_t>(cbmoc, sizeof caps));
    return MMSYSERR_NOERROR;
}

MMRESULT MidiOut::midiOutOpen(HMIDIOUT* phmo, std::int32_t uDeviceID, DWORD_PTR /*dwCallback*/,
                              DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
    if (phmo == nullptr) return Fail(MMSYSERR_INVALPARAM, "");
    // Completion is never signalled: a long message has been handed on when its call returns.
    if (fdwOpen != CALLBACK_NULL)
        return Fail(MMSYSERR_INVALFLAG, "outputs open without completion callbacks only");
    OpenedOutput opened;
    if (uDeviceID == MIDI_MAPPER) {
        opened = backend_.OpenDefault();
    } else if (uDeviceID < 0 || static_cast<std::size_t>(uDeviceID) >= ListedCount()) {
        return Fail(MMSYSERR_BADDEVICEID, "device id " + std::to_string(uDeviceID));
    } else {
        opened = backend_.Open(static_cast<std::size_t>(uDeviceID));
    }
    if (opened.status.code != MMSYSERR_NOERROR) return Result(std::move(opened.status));
    if (!opened.connection) return Fail(MMSYSERR_ERROR, "the MIDI system gave no output");

    const std::uint32_t handle = nextHandle_++;
    open_.emplace(handle, std::move(opened.connection));
    *phmo = static_cast<HMIDIOUT>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT MidiOut::midiOutClose(HMIDIOUT hmo) {
    const auto found = open_.find(static_cast<std::uint32_t>(hmo));
    if (found == open_.end()) return Fail(MMSYSERR_INVALHANDLE, "");
    const std::unique_ptr<OutputConnection> connection = std::move(found->second);
    open_.erase(found);
    return Result(connection->Close());
}

std::optional<MMRESULT> MidiOut::CheckHeader(HMIDIOUT hmo, const MIDIHDR* pmh, UINT cbmh) {
    if (Find(hmo) == nullptr) return Fail(MMSYSERR_INVALHANDLE, "");
    if (pmh == nullptr || (cbmh != kMidiHdrSize && cbmh != sizeof(MIDIHDR)))
        return Fail(MMSYSERR_INVALPARAM, "the message header is missing or of another size");
    if (pmh->lpData == nullptr || pmh->dwBufferLength == 0)
        return Fail(MMSYSERR_INVALPARAM, "the message is empty");
    return std::nullopt;
}

namespace {
std::span<const std::uint8_t> BytesOf(const MIDIHDR& header) {
    return {reinterpret_cast<const std::uint8_t*>(header.lpData), header.dwBufferLength};
}
}  // namespace

MMRESULT MidiOut::midiOutPrepareHeader(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh) {
    if (const auto problem = CheckHeader(hmo, pmh, cbmh)) return *problem;
    if ((pmh->dwFlags & MHDR_PREPARED) != 0) return MMSYSERR_NOERROR;
    const MMRESULT rc = Result(Find(hmo)->Prepare(BytesOf(*pmh)));
    if (rc == MMSYSERR_NOERROR) pmh->dwFlags = (pmh->dwFlags & ~MHDR_DONE) | MHDR_PREPARED;
    return rc;
}

MMRESULT MidiOut::midiOutLongMsg(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh) {
    if (const auto problem = CheckHeader(hmo, pmh, cbmh)) return *problem;
    if ((pmh->dwFlags & MHDR_PREPARED) == 0) return Fail(MIDIERR_UNPREPARED, "");
    const std::span<const std::uint8_t> message = BytesOf(*pmh);
    if (const auto problem = LongMessageProblem(message))
        return Fail(MMSYSERR_INVALPARAM, *problem);
    const MMRESULT rc = Result(Find(hmo)->SendLong(message));
    if (rc == MMSYSERR_NOERROR) pmh->dwFlags = (pmh->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    return rc;
}

MMRESULT MidiOut::midiOutUnprepareHeader(HMIDIOUT hmo, MIDIHDR* pmh, UINT cbmh) {
    if (const auto problem = CheckHeader(hmo, pmh, cbmh)) return *problem;
    if ((pmh->dwFlags & MHDR_PREPARED) == 0) return MMSYSERR_NOERROR;
    if ((pmh->dwFlags & MHDR_INQUEUE) != 0) return Fail(MIDIERR_STILLPLAYING, "");
    const MMRESULT rc = Result(Find(hmo)->Unprepare(BytesOf(*pmh)));
    if (rc == MMSYSERR_NOERROR) pmh->dwFlags &= ~MHDR_PREPARED;
    return rc;
}

MMRESULT MidiOut::midiOutShortMsg(HMIDIOUT hmo, DWORD dwMsg) {
    OutputConnection* connection = Find(hmo);
    if (connection == nullptr) return Fail(MMSYSERR_INVALHANDLE, "");
    const std::vector<std::uint8_t> message = UnpackShortMessage(dwMsg);
    if (message.empty())
        return Fail(MMSYSERR_INVALPARAM,
                    "a short message needs a status byte other than F0 and F7, and data bytes "
                    "up to 127");
    return Result(connection->SendShort(message));
}

MMRESULT MidiOut::midiOutGetErrorTextA(MMRESULT mmrError, char* pszText, UINT cchText) {
    if (pszText == nullptr || cchText == 0) return MMSYSERR_INVALPARAM;
    const auto description = DescribeResult(mmrError);
    std::string text;
    if (description) {
        text = *description;
        if (mmrError == lastFailure_.code && !lastFailure_.reason.empty())
            text += " (" + lastFailure_.reason + ")";
        text += '.';
    } else {
        text = "Unknown MIDI error " + std::to_string(static_cast<std::int32_t>(mmrError)) + '.';
    }
    text = CutUtf8(text, cchText - 1);
    std::memcpy(pszText, text.c_str(), text.size() + 1);
    return description ? MMSYSERR_NOERROR : MMSYSERR_BADERRNUM;
}

}  // namespace voxtane::midi
