#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/winmm_api.h"
#include "midi/midi_backend.h"

namespace voxtane::devices {

// A WinMM result as the MIDI layer's result: the codes the layer names keep their number, any
// other becomes MMSYSERR_ERROR with its number in the reason. The reason names the call that
// failed and adds the system's own words. No error for MMSYSERR_NOERROR.
[[nodiscard]] midi::BackendStatus WinMmStatus(WinMmApi& api, WinMmResult result,
                                              const std::string& what);

// Keeps a buffer the system would not give back to the end of the run: it may still be written
// to, so it is never freed, yet stays reachable (no leak to report).
template <class Buffer>
void KeepForever(std::unique_ptr<Buffer> buffer) {
    static std::mutex mutex;
    static auto* const kept = new std::vector<std::unique_ptr<Buffer>>;
    const std::lock_guard lock(mutex);
    kept->push_back(std::move(buffer));
}

}  // namespace voxtane::devices
