#pragma once

#include <cstdint>

// The MIDI output records, handles and result codes of the multimedia API under their published
// names and numbers. The editor's procedures are written against this API; the numbering of the
// result codes belongs to this layer and goes no further than the senders' messages.
namespace voxtane::midi {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using DWORD_PTR = std::uintptr_t;
using MMRESULT = UINT;

// A handle of an open output, issued by midiOutOpen; 0 is never issued.
enum class HMIDIOUT : std::uint32_t {};

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MMRESULT MMSYSERR_BADERRNUM = 9;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
inline constexpr MMRESULT MIDIERR_NOMAP = 66;
inline constexpr MMRESULT MIDIERR_NOTREADY = 67;
inline constexpr MMRESULT MIDIERR_NODEVICE = 68;

// The device id that opens the default output instead of one listed device.
inline constexpr std::int32_t MIDI_MAPPER = -1;
// midiOutOpen without any callback: the only way this layer opens a device.
inline constexpr DWORD CALLBACK_NULL = 0;

// Header flags.
inline constexpr DWORD MHDR_DONE = 0x1;
inline constexpr DWORD MHDR_PREPARED = 0x2;
inline constexpr DWORD MHDR_INQUEUE = 0x4;

inline constexpr UINT MAXPNAMELEN = 32;

// Device capabilities, single-byte character form.
struct MIDIOUTCAPSA {
    std::uint16_t wMid;
    std::uint16_t wPid;
    std::uint32_t vDriverVersion;
    char szPname[MAXPNAMELEN];
    std::uint16_t wTechnology;
    std::uint16_t wVoices;
    std::uint16_t wNotes;
    std::uint16_t wChannelMask;
    DWORD dwSupport;
};
static_assert(sizeof(MIDIOUTCAPSA) == 52);
inline constexpr UINT kMidiOutCapsSize = sizeof(MIDIOUTCAPSA);

inline constexpr std::uint16_t MOD_MIDIPORT = 1;

// The header of a long message.
struct MIDIHDR {
    char* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    MIDIHDR* lpNext;
    DWORD_PTR reserved;
};
// The size the editor passes with a header: the record as it declares it, seven 32-bit fields.
// This layer takes that size (or the native one) as naming this record.
inline constexpr UINT kMidiHdrSize = 28;

}  // namespace voxtane::midi
