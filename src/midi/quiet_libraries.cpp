#include "midi/quiet_libraries.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace voxtane::midi {

namespace {
void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}
void IgnoreJack(const char*) {}
}  // namespace

void QuietMidiLibraries() {
    snd_lib_error_set_handler(&IgnoreAlsa);
    jack_set_error_function(&IgnoreJack);
    jack_set_info_function(&IgnoreJack);
}

}  // namespace voxtane::midi
