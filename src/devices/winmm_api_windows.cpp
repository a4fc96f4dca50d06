// The WinMM table over winmm.dll: Windows only.
#include <windows.h>
//
#include <mmsystem.h>

#include <cstddef>

#include "devices/winmm_api.h"

namespace voxtane::devices {

namespace {

// The records and numbers the portable side declares are the system's.
static_assert(sizeof(WinMmHeader) == sizeof(MIDIHDR));
static_assert(offsetof(WinMmHeader, lpData) == offsetof(MIDIHDR, lpData));
static_assert(offsetof(WinMmHeader, dwBufferLength) == offsetof(MIDIHDR, dwBufferLength));
static_assert(offsetof(WinMmHeader, dwBytesRecorded) == offsetof(MIDIHDR, dwBytesRecorded));
static_assert(offsetof(WinMmHeader, dwUser) == offsetof(MIDIHDR, dwUser));
static_assert(offsetof(WinMmHeader, dwFlags) == offsetof(MIDIHDR, dwFlags));
static_assert(offsetof(WinMmHeader, lpNext) == offsetof(MIDIHDR, lpNext));
static_assert(offsetof(WinMmHeader, dwOffset) == offsetof(MIDIHDR, dwOffset));
static_assert(offsetof(WinMmHeader, dwReserved) == offsetof(MIDIHDR, dwReserved));
static_assert(static_cast<UINT>(WinMmMessage::InOpen) == MIM_OPEN);
static_assert(static_cast<UINT>(WinMmMessage::InClose) == MIM_CLOSE);
static_assert(static_cast<UINT>(WinMmMessage::InData) == MIM_DATA);
static_assert(static_cast<UINT>(WinMmMessage::InLongData) == MIM_LONGDATA);
static_assert(static_cast<UINT>(WinMmMessage::InError) == MIM_ERROR);
static_assert(static_cast<UINT>(WinMmMessage::InLongError) == MIM_LONGERROR);
static_assert(static_cast<UINT>(WinMmMessage::InMoreData) == MIM_MOREDATA);
static_assert(static_cast<UINT>(WinMmMessage::OutOpen) == MOM_OPEN);
static_assert(static_cast<UINT>(WinMmMessage::OutClose) == MOM_CLOSE);
static_assert(static_cast<UINT>(WinMmMessage::OutDone) == MOM_DONE);

MIDIHDR* Native(WinMmHeader& header) {
    return reinterpret_cast<MIDIHDR*>(&header);
}

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string converted(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), length, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(length - 1));
    return converted;
}

void CALLBACK OnOutput(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                       DWORD_PTR param2) {
    reinterpret_cast<WinMmListener*>(instance)->OnMessage(static_cast<WinMmMessage>(message),
                                                          param1, param2);
}

void CALLBACK OnInput(HMIDIIN, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                      DWORD_PTR param2) {
    reinterpret_cast<WinMmListener*>(instance)->OnMessage(static_cast<WinMmMessage>(message),
                                                          param1, param2);
}

HMIDIOUT Out(WinMmHandle handle) {
    return static_cast<HMIDIOUT>(handle);
}
HMIDIIN In(WinMmHandle handle) {
    return static_cast<HMIDIIN>(handle);
}

class SystemWinMmApi final : public WinMmApi {
  public:
    std::uint32_t OutCount() override { return midiOutGetNumDevs(); }
    WinMmResult OutName(std::uint32_t device, std::string& name) override {
        MIDIOUTCAPSW caps{};
        const MMRESULT result = midiOutGetDevCapsW(device, &caps, sizeof caps);
        name = result == MMSYSERR_NOERROR ? Utf8(caps.szPname) : std::string();
        return result;
    }
    WinMmResult OutOpen(WinMmHandle& handle, std::uint32_t device,
                        WinMmListener& listener) override {
        HMIDIOUT opened = nullptr;
        const MMRESULT result =
            midiOutOpen(&opened, device, reinterpret_cast<DWORD_PTR>(&OnOutput),
                        reinterpret_cast<DWORD_PTR>(&listener), CALLBACK_FUNCTION);
        handle = opened;
        return result;
    }
    WinMmResult OutShort(WinMmHandle handle, std::uint32_t packed) override {
        return midiOutShortMsg(Out(handle), packed);
    }
    WinMmResult OutPrepare(WinMmHandle handle, WinMmHeader& header) override {
        return midiOutPrepareHeader(Out(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult OutLong(WinMmHandle handle, WinMmHeader& header) override {
        return midiOutLongMsg(Out(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult OutUnprepare(WinMmHandle handle, WinMmHeader& header) override {
        return midiOutUnprepareHeader(Out(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult OutReset(WinMmHandle handle) override { return midiOutReset(Out(handle)); }
    WinMmResult OutClose(WinMmHandle handle) override { return midiOutClose(Out(handle)); }

    std::uint32_t InCount() override { return midiInGetNumDevs(); }
    WinMmResult InName(std::uint32_t device, std::string& name) override {
        MIDIINCAPSW caps{};
        const MMRESULT result = midiInGetDevCapsW(device, &caps, sizeof caps);
        name = result == MMSYSERR_NOERROR ? Utf8(caps.szPname) : std::string();
        return result;
    }
    WinMmResult InOpen(WinMmHandle& handle, std::uint32_t device,
                       WinMmListener& listener) override {
        HMIDIIN opened = nullptr;
        const MMRESULT result =
            midiInOpen(&opened, device, reinterpret_cast<DWORD_PTR>(&OnInput),
                       reinterpret_cast<DWORD_PTR>(&listener), CALLBACK_FUNCTION);
        handle = opened;
        return result;
    }
    WinMmResult InPrepare(WinMmHandle handle, WinMmHeader& header) override {
        return midiInPrepareHeader(In(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult InAddBuffer(WinMmHandle handle, WinMmHeader& header) override {
        return midiInAddBuffer(In(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult InUnprepare(WinMmHandle handle, WinMmHeader& header) override {
        return midiInUnprepareHeader(In(handle), Native(header), sizeof(MIDIHDR));
    }
    WinMmResult InStart(WinMmHandle handle) override { return midiInStart(In(handle)); }
    WinMmResult InStop(WinMmHandle handle) override { return midiInStop(In(handle)); }
    WinMmResult InReset(WinMmHandle handle) override { return midiInReset(In(handle)); }
    WinMmResult InClose(WinMmHandle handle) override { return midiInClose(In(handle)); }

    std::string ErrorText(WinMmResult result) override {
        wchar_t text[MAXERRORLENGTH] = L"";
        if (midiOutGetErrorTextW(result, text, MAXERRORLENGTH) != MMSYSERR_NOERROR) return {};
        return Utf8(text);
    }
};

}  // namespace

std::unique_ptr<WinMmApi> MakeSystemWinMmApi() {
    return std::make_unique<SystemWinMmApi>();
}

}  // namespace voxtane::devices
