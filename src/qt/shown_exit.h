#pragma once

namespace voxtane::qt {

// The environment variable that asks the program to end as soon as its first window is on
// screen: the start-up benchmark measures a process from its start to that moment.
inline constexpr const char* kExitWhenShownVariable = "VOXTANE_EXIT_WHEN_SHOWN";

// When kExitWhenShownVariable is set, watches for the first window the display exposes, then
// writes the steady clock's time of that moment in nanoseconds on standard output and ends
// the process at once (nothing of the run is torn down: only the moment counts). The program's
// first window must come before it opens any device: a JACK client cut off while it opens
// leaves JACK's shared metadata database locked for every later client.
void ExitWhenShownIfAsked();

}  // namespace voxtane::qt
