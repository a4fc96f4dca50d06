#!/usr/bin/env bash
# The golden check of the Windows build: voxtane-syx.exe under Wine must write the same bytes
# as the Linux voxtane-syx, on stdout, on stderr, in its exit code and in every file it makes,
# for new, show, check, edit, import and export over the bank corpus, with file and folder names
# outside ASCII.
#   windows-golden-check.sh LINUX_SYX WINDOWS_SYX_EXE WORK_DIR
set -euo pipefail

linux_syx=$(realpath "$1")
windows_syx=$(realpath "$2")
work=$3
source_dir=$(cd "$(dirname "$0")/.." && pwd)
wine_run="$source_dir/scripts/wine-run.sh"
banks="$source_dir/fuzz/corpus/bank_load"
tones="$source_dir/tests/import/corpus"

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
export VOXTANE_WINEPREFIX="${VOXTANE_WINEPREFIX:-$(realpath "$work/..")/wine-prefix}"

# The runs follow each other closely enough that one Wine server (which stays a few seconds
# after its last program) serves them all.

runs=0
# run CASE STEP ARGS...: the step in the case's folder, on each side.
run() {
    local case=$1 step=$2
    shift 2
    for side in linux windows; do
        local folder="$work/$side/$case"
        mkdir -p "$folder/.runs"
        local status=0
        if [ "$side" = linux ]; then
            (cd "$folder" && "$linux_syx" "$@" >".runs/$step.out" 2>".runs/$step.err") || status=$?
        else
            (cd "$folder" && "$wine_run" "$windows_syx" "$@" >".runs/$step.out" \
                2>".runs/$step.err") || status=$?
        fi
        echo "$status" >"$folder/.runs/$step.exit"
    done
    runs=$((runs + 1))
}

# The same inputs on both sides.
place() {
    local case=$1 from=$2 name=$3
    for side in linux windows; do
        mkdir -p "$work/$side/$case"
        cp "$from" "$work/$side/$case/$name"
    done
}

bank="Bänk ☃ 🎹.syx"
run new new new "Nëw ☃.syx"
for entry in "$banks"/*; do
    case=$(basename "$entry")
    # A corpus file holds a bank, then after a marker line the text of its names file.
    marker=$(grep -n -a -m1 -x -- '--names--' "$entry" | cut -d: -f1 || true)
    if [ -n "$marker" ]; then
        head -n "$((marker - 1))" "$entry" | head -c -1 >"$work/bank"
        tail -n "+$((marker + 1))" "$entry" >"$work/names"
        place "$case" "$work/bank" "$bank"
        place "$case" "$work/names" "${bank%.syx}.plf"
    else
        place "$case" "$entry" "$bank"
    fi
    place "$case" "$tones/dump-single.syx" "Tön ä.syx"
    place "$case" "$tones/dump-bank-of-16.syx" "Töne ☃.syx"
    run "$case" show show "$bank"
    run "$case" check check "$bank"
    run "$case" edit edit "$bank" "Ëdited ☃.syx" --patch 2 hsFine=16 "txtDCA1Rate[2]=80" \
        "name=Lëad ☃"
    run "$case" import import "$bank" "Impörted.syx" --at 3 "Tön ä.syx" "Töne ☃.syx"
    run "$case" export export "$bank" "Expört ☃"
done
rm -f "$work/bank" "$work/names"

if diff -r "$work/linux" "$work/windows" >"$work/differences.txt"; then
    files=$(find "$work/linux" -type f | wc -l)
    echo "golden check: $runs runs of voxtane-syx.exe, $files files and outputs byte-identical to Linux"
else
    echo "golden check: the Windows build differs from Linux:" >&2
    head -n 60 "$work/differences.txt" >&2
    exit 1
fi
