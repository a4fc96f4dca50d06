#include "devices/winmm_status.h"

namespace voxtane::devices {

namespace {
// The results mm_system.h names: the general ones, then the MIDI ones.
[[nodiscard]] constexpr bool IsNamed(WinMmResult result) {
    return result <= midi::MMSYSERR_INVALPARAM ||
           (result >= midi::MIDIERR_UNPREPARED && result <= midi::MIDIERR_NODEVICE);
}
}  // namespace

midi::BackendStatus WinMmStatus(WinMmApi& api, WinMmResult result, const std::string& what) {
    if (result == midi::MMSYSERR_NOERROR) return {};
    std::string reason = "WinMM: " + what;
    const std::string text = api.ErrorText(result);
    if (!IsNamed(result))
        reason += " (result " + std::to_string(result) + (text.empty() ? "" : ": " + text) + ")";
    else if (!text.empty())
        reason += " (" + text + ")";
    return {IsNamed(result) ? result : midi::MMSYSERR_ERROR, std::move(reason)};
}

}  // namespace voxtane::devices
