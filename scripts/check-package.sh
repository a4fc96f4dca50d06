#!/usr/bin/env bash
# Checks the Debian package that `make package` built in BUILD_DIR: its name, its file list, its
# dependencies, its desktop file and metainfo, and that the programs run from an installation
# unpacked into a temporary root.
set -euo pipefail

build_dir=${1:?usage: check-package.sh BUILD_DIR}
app_id=io.github.voxtane.Voxtane
fail() { echo "check-package: $*" >&2; exit 1; }

shopt -s nullglob
debs=("$build_dir"/voxtane_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one voxtane_*.deb in $build_dir, found ${#debs[@]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "voxtane_${version}_${arch}.deb" ] ||
    fail "$(basename "$deb") is not named voxtane_${version}_${arch}.deb"

# Every file of the package, and nothing else; the programs' folder holds the programs only.
expected=$(sort <<LIST
./usr/bin/voxtane
./usr/bin/voxtane-syx
./usr/lib/voxtane/libvoxtane_devices.so
./usr/share/applications/$app_id.desktop
./usr/share/doc/voxtane/copyright
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/voxtane-syx.1.gz
./usr/share/man/man1/voxtane.1.gz
./usr/share/metainfo/$app_id.metainfo.xml
./usr/share/voxtane/voxtane.txt
LIST
)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the package's files differ from the list above (< expected, > packaged)"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libjack libasound2 libc6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
for page in voxtane voxtane-syx; do
    man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >/dev/null 2>"$root/man.err"
    [ ! -s "$root/man.err" ] || fail "manual page $page: $(cat "$root/man.err")"
done

bin=$root/usr/bin
"$bin/voxtane-syx" --version | grep -qx "voxtane-syx $version" || fail "voxtane-syx --version"
"$bin/voxtane" --version | grep -qx "voxtane $version" || fail "voxtane --version"
"$bin/voxtane-syx" new "$root/bank.syx" >/dev/null
[ -f "$root/bank.syx" ] && [ -f "$root/bank.plf" ] || fail "voxtane-syx new wrote no bank"
"$bin/voxtane-syx" show --patch 1 "$root/bank.syx" | grep -q '"patch": 1' ||
    fail "voxtane-syx show did not show patch 1"

# The window program, from the installation, with nobody at the screen.
walk=$(cd "$root" && QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$root/config" \
    XDG_DATA_HOME="$root/data" timeout 60 "$bin/voxtane" --walk-windows 2>"$root/voxtane.err") ||
    fail "voxtane --walk-windows failed: $(cat "$root/voxtane.err")"
for title in "MIDI Output Devices" "About Voxtane ver $version" "Voice"; do
    grep -qxF "window: $title" <<<"$walk" || fail "voxtane did not show \"$title\": $walk"
done
[ "$(grep -c '^window: ' <<<"$walk")" -ge 4 ] || fail "voxtane did not show its main window: $walk"

echo "check-package: $(basename "$deb") is complete and its programs run"
