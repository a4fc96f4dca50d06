#!/usr/bin/env bash
# Runs each fuzzer for a bounded time over its seed corpus and prints, per fuzzer, the executions
# and the crashes found. Exits non-zero when any fuzzer found a crash or broke an invariant.
#   run-fuzzers.sh BUILD_DIR SECONDS
set -uo pipefail

build_dir=${1:?build folder}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
printf '%-24s %12s %8s\n' fuzzer executions crashes
for target in bank_load bank_memory decode envelope_number import history smf; do
    corpus="$work/$target"
    mkdir -p "$corpus" "$work/artifacts-$target"
    log="$work/$target.log"
    "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/artifacts-$target/" "$corpus" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    crashes=$(find "$work/artifacts-$target" -type f | wc -l)
    printf '%-24s %12s %8s\n' "$target" "${runs:-?}" "$crashes"
    if [ "$rc" -ne 0 ] || [ "$crashes" -ne 0 ]; then
        status=1
        echo "--- $target failed (exit $rc); its log ends with:"
        tail -n 40 "$log"
        for artifact in "$work/artifacts-$target"/*; do
            [ -f "$artifact" ] || continue
            mkdir -p "$root/fuzz/findings"
            cp "$artifact" "$root/fuzz/findings/"
            echo "input kept in fuzz/findings/$(basename "$artifact")"
        done
    fi
done
exit $status
