#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, headless and quiet:
#   wine-run.sh PROGRAM.exe [ARGS...]
# The Wine prefix is VOXTANE_WINEPREFIX (default: wine-prefix/ in the current folder's build
# tree, as cmake/windows.cmake sets it). It is made once with wineboot, under a lock, so that
# tests started side by side do not each make it.
set -euo pipefail

prefix="${VOXTANE_WINEPREFIX:-$PWD/wine-prefix}"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No display is needed or wanted: no window may open, and none of Wine's installers for Mono
# and Gecko may ask.
# winealsa.drv off: the WinMM device list is empty here either way, without ALSA's complaints.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv=d"
unset DISPLAY WAYLAND_DISPLAY

wine=$(command -v wine64 || command -v wine)

if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/system.reg" ]; then
            "$(dirname "$wine")/wineboot" -i >/dev/null 2>&1 || true
            # wineboot returns before the prefix is written; the server's end is its completion.
            wineserver -w
        fi
    ) 9>"$prefix.lock"
fi

# The server is started here, away from this program's output: one that a program started would
# keep its stdout and stderr open for as long as it stays, and ctest waits for those to close.
wineserver </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
