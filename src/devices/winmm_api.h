#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The functions of the Windows multimedia library (winmm.dll) that the WinMM backend calls, as a
// table the backend is handed: the real one binds them on Windows (winmm_api_windows.cpp), a
// scripted one plays the system in tests on any machine. Results are the library's MMRESULT
// numbers, which the MIDI layer's result codes share (midi/mm_system.h).
//
// Nothing here includes <windows.h>: its macros carry the same names as the MIDI layer's result
// codes and would replace them. The records below are laid out as the system's; the real table
// checks that where it is compiled.
namespace voxtane::devices {

using WinMmResult = std::uint32_t;
// An HMIDIOUT or HMIDIIN; nullptr is none.
using WinMmHandle = void*;

// MIDIHDR: one buffer of a long message, which the system owns from its prepare to its
// unprepare, and must stay where it is all that time. The system's multimedia records are
// packed to the byte.
#pragma pack(push, 1)
struct WinMmHeader {
    char* lpData;
    std::uint32_t dwBufferLength;
    std::uint32_t dwBytesRecorded;
    std::uintptr_t dwUser;
    std::uint32_t dwFlags;
    WinMmHeader* lpNext;
    std::uintptr_t reserved;
    std::uint32_t dwOffset;
    std::uintptr_t dwReserved[8];
};
#pragma pack(pop)

// What the system tells an open device's callback: the numbers of MOM_* and MIM_*.
enum class WinMmMessage : std::uint32_t {
    InOpen = 0x3C1,
    InClose = 0x3C2,
    InData = 0x3C3,      // param1: a short message, packed as midiOutShortMsg takes it
    InLongData = 0x3C4,  // param1: the header of a buffer that filled or took an F7
    InError = 0x3C5,
    InLongError = 0x3C6,  // param1: the header of a buffer whose message was cut off
    OutOpen = 0x3C7,
    OutClose = 0x3C8,
    OutDone = 0x3C9,  // param1: the header of a long message the device has finished with
    InMoreData = 0x3CC,
};

// Takes an open device's callbacks (CALLBACK_FUNCTION), on a thread of the system's. Only
// midiInAddBuffer may be called from there; anything else of the library may deadlock.
class WinMmListener {
  public:
    virtual void OnMessage(WinMmMessage message, std::uintptr_t param1, std::uintptr_t param2) = 0;

  protected:
    ~WinMmListener() = default;
};

class WinMmApi {
  public:
    virtual ~WinMmApi() = default;

    // midiOutGetNumDevs; midiOutGetDevCapsW, the name in UTF-8.
    [[nodiscard]] virtual std::uint32_t OutCount() = 0;
    [[nodiscard]] virtual WinMmResult OutName(std::uint32_t device, std::string& name) = 0;
    // midiOutOpen with CALLBACK_FUNCTION: `listener` takes the callbacks until OutClose returns.
    [[nodiscard]] virtual WinMmResult OutOpen(WinMmHandle& handle, std::uint32_t device,
                                              WinMmListener& listener) = 0;
    [[nodiscard]] virtual WinMmResult OutShort(WinMmHandle handle, std::uint32_t packed) = 0;
    [[nodiscard]] virtual WinMmResult OutPrepare(WinMmHandle handle, WinMmHeader& header) = 0;
    [[nodiscard]] virtual WinMmResult OutLong(WinMmHandle handle, WinMmHeader& header) = 0;
    [[nodiscard]] virtual WinMmResult OutUnprepare(WinMmHandle handle, WinMmHeader& header) = 0;
    // midiOutReset: every pending buffer comes back done.
    [[nodiscard]] virtual WinMmResult OutReset(WinMmHandle handle) = 0;
    [[nodiscard]] virtual WinMmResult OutClose(WinMmHandle handle) = 0;

    // midiInGetNumDevs; midiInGetDevCapsW, the name in UTF-8.
    [[nodiscard]] virtual std::uint32_t InCount() = 0;
    [[nodiscard]] virtual WinMmResult InName(std::uint32_t device, std::string& name) = 0;
    // midiInOpen with CALLBACK_FUNCTION.
    [[nodiscard]] virtual WinMmResult InOpen(WinMmHandle& handle, std::uint32_t device,
                                             WinMmListener& listener) = 0;
    [[nodiscard]] virtual WinMmResult InPrepare(WinMmHandle handle, WinMmHeader& header) = 0;
    [[nodiscard]] virtual WinMmResult InAddBuffer(WinMmHandle handle, WinMmHeader& header) = 0;
    [[nodiscard]] virtual WinMmResult InUnprepare(WinMmHandle handle, WinMmHeader& header) = 0;
    [[nodiscard]] virtual WinMmResult InStart(WinMmHandle handle) = 0;
    [[nodiscard]] virtual WinMmResult InStop(WinMmHandle handle) = 0;
    // midiInReset: every buffer still queued comes back through the callback.
    [[nodiscard]] virtual WinMmResult InReset(WinMmHandle handle) = 0;
    [[nodiscard]] virtual WinMmResult InClose(WinMmHandle handle) = 0;

    // midiOutGetErrorTextW in UTF-8; "" when the system has no text for the result.
    [[nodiscard]] virtual std::string ErrorText(WinMmResult result) = 0;
};

#ifdef _WIN32
// The table over winmm.dll.
[[nodiscard]] std::unique_ptr<WinMmApi> MakeSystemWinMmApi();
#endif

}  // namespace voxtane::devices
