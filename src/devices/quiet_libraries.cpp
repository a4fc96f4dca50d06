#include "devices/quiet_libraries.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace voxtane::devices {

namespace {
// JACK's error function takes no context of ours; it runs on the thread of the call that
// failed, so one slot per thread keeps each call's complaint with its caller.
thread_local std::string lastJackComplaint;

void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}
void KeepJackComplaint(const char* text) {
    lastJackComplaint = text;
}
void IgnoreJack(const char*) {}
}  // namespace

void QuietMidiLibraries() {
    snd_lib_error_set_handler(&IgnoreAlsa);
    jack_set_error_function(&KeepJackComplaint);
    jack_set_info_function(&IgnoreJack);
}

std::string TakeJackComplaint() {
    std::string taken = std::move(lastJackComplaint);
    lastJackComplaint.clear();
    return taken;
}

}  // namespace voxtane::devices
