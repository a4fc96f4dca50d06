#!/usr/bin/env bash
# Runs every benchmark of a build made with -DVOXTANE_BENCH=ON and prints one table: each
# figure's median over several repetitions, the floor it is measured against, their ratio, the
# target ratio and whether it is met. The benchmarks only measure: slowness never makes this
# script fail; it fails only when a benchmark program cannot run.
#   run-benchmarks.sh BUILD_DIR
# Environment:
#   BENCH_REPETITIONS  repetitions of each benchmark that sets none of its own (default 5)
#   BENCH_RESULTS      where the programs' JSON output and logs are kept (default
#                      BUILD_DIR/bench-results)
set -uo pipefail

build_dir=${1:?build folder}
repetitions=${BENCH_REPETITIONS:-5}
results=${BENCH_RESULTS:-$build_dir/bench-results}
bench_dir=$build_dir/bench
mkdir -p "$results"
rm -f "$results"/*.json

programs=(core window cli midi link voice start)
for program in "${programs[@]}"; do
    if [ ! -x "$bench_dir/voxtane_${program}_bench" ]; then
        echo "run-benchmarks.sh: $bench_dir/voxtane_${program}_bench is missing;" \
             "configure with -DVOXTANE_BENCH=ON and build first" >&2
        exit 2
    fi
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
os=$( (. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME") || uname -sr)
load_before=$(cut -d ' ' -f 1-3 /proc/loadavg)

status=0
for program in "${programs[@]}"; do
    echo "running voxtane_${program}_bench ..." >&2
    # The window and the command line are compared with a floor measured by the same program:
    # their repetitions run interleaved with the floor's, so that a busy spell of the machine
    # does not fall on one side only. The MIDI program runs in its own order: the recording
    # backend first, before its JACK server runs.
    interleave=true
    [ "$program" = midi ] && interleave=false
    [ "$program" = link ] && interleave=false
    [ "$program" = voice ] && interleave=false
    "$bench_dir/voxtane_${program}_bench" \
        --benchmark_repetitions="$repetitions" \
        --benchmark_report_aggregates_only=true \
        --benchmark_enable_random_interleaving="$interleave" \
        --benchmark_out="$results/$program.json" \
        --benchmark_out_format=json \
        >"$results/$program.log" 2>&1 &
    pid=$!
    wait "$pid"
    rc=$?
    # A benchmark program that dies cannot stop the JACK server it started, which is named
    # after the program's process id; it is stopped here.
    for server in $(pgrep -f "^jackd --no-realtime -n voxtane-test-$pid " 2>/dev/null); do
        kill "$server" 2>/dev/null
        # Given five seconds to stop, as the benchmark itself gives it, then killed.
        for _ in $(seq 50); do
            case $(ps -o stat= -p "$server" 2>/dev/null) in '' | Z*) break ;; esac
            sleep 0.1
        done
        case $(ps -o stat= -p "$server" 2>/dev/null) in
            '' | Z*) ;;
            *) kill -KILL "$server" 2>/dev/null ;;
        esac
    done
    if [ "$rc" -ne 0 ]; then
        status=1
        echo "voxtane_${program}_bench failed (exit $rc); its log ends with:" >&2
        tail -n 20 "$results/$program.log" >&2
    fi
done
load_after=$(cut -d ' ' -f 1-3 /proc/loadavg)

echo
echo "Voxtane benchmarks: medians of $repetitions repetitions (the JACK figures: of 61 clicks;"
echo "fresh-process windows: of 11 processes; start to the first window: of 9)"
echo "Machine: $(nproc) CPUs, $cpu, $memory, $os"
echo "Load average before: $load_before, after: $load_after"
echo

# Google Benchmark writes its JSON one key per line: each result is an object from a "name" key
# to its closing brace. Results are keyed by the benchmark's name up to its first '/' or its
# aggregate suffix; the median is taken, or the one run of a benchmark that ran once.
awk '
function to_ns(value, unit) {
    value += 0
    if (unit == "s") return value * 1e9
    if (unit == "ms") return value * 1e6
    if (unit == "us") return value * 1e3
    return value
}
function fmt(ns) {
    if (ns >= 1e9) return sprintf("%.2f s", ns / 1e9)
    if (ns >= 1e6) return sprintf("%.2f ms", ns / 1e6)
    if (ns >= 1e3) return sprintf("%.2f us", ns / 1e3)
    return sprintf("%.0f ns", ns)
}
# The value of a line "key": value, without quotes and the trailing comma.
function json_value(line) {
    sub(/^[^:]*: */, "", line)
    sub(/,$/, "", line)
    if (line ~ /^".*"$/) line = substr(line, 2, length(line) - 2)
    return line
}
function json_key(line) {
    sub(/^ *"/, "", line)
    sub(/".*/, "", line)
    return line
}
/^ *"benchmarks": \[/ { in_results = 1; next }
in_results && /^ *"name": / {
    name = json_value($0)
    delete field
    next
}
in_results && name != "" && /^ *"[^"]+": / { field[json_key($0)] = json_value($0); next }
in_results && name != "" && /^ *}/ {
    base = name
    sub(/\/.*/, "", base)
    sub(/_(mean|median|stddev|cv)$/, "", base)
    if (field["error_occurred"] == "true") {
        error[base] = field["error_message"]
    } else if (field["aggregate_name"] == "median" || (field["run_type"] == "iteration" && !(base in value))) {
        value[base] = to_ns(field["real_time"], field["time_unit"])
        for (k in field) counter[base, k] = field[k] + 0
    }
    name = ""
    next
}
function has(base) { return (base in value) }
function cell(base) { return has(base) ? fmt(value[base]) : ((base in error) ? "skipped" : "missing") }
function line(label, shown, floor_text, ratio_text, target_text, met_text) {
    printf "%-46s %-28s %-26s %8s %7s %4s\n", label, shown, floor_text, ratio_text, target_text, met_text
}
# A figure against a floor in nanoseconds: the ratio, and whether it is at most `target`.
function against(label, base, shown, floor_ns, floor_text, target,    ratio) {
    if (!has(base) || floor_ns <= 0) {
        line(label, cell(base), floor_text, "-", sprintf("<=%g", target), "-")
        return
    }
    ratio = value[base] / floor_ns
    line(label, shown, floor_text, sprintf("%.2f", ratio), sprintf("<=%g", target),
         ratio <= target ? "yes" : "no")
}
# A rate counter (times real time) against the least it should reach.
function at_least(label, base, key, target,    rate) {
    if (!has(base)) {
        line(label, cell(base), sprintf("%gx real time", target), "-", ">=1", "-")
        return
    }
    rate = counter[base, key]
    line(label, sprintf("%.0fx real time", rate), sprintf("%gx real time (target)", target),
         sprintf("%.2f", rate / target), ">=1", rate >= target ? "yes" : "no")
}
END {
    line("Benchmark", "Median", "Floor / target", "Ratio", "Target", "Met")
    line("---------", "------", "--------------", "-----", "------", "---")

    line("1 Core: decode one patch into the controls", cell("DecodeOnePatch"), "-", "-", "-", "")
    line("1 Core: encode one patch (every handler)", cell("EncodeOnePatch"), "-", "-", "-", "")
    against("1 Core: load a bank + decode its 16 patches", "LoadAndDecodeBank",
            cell("LoadAndDecodeBank"), 1e6, "1 ms (target)", 1)
    line("  Core: start an editor run (no window)", cell("StartEditor"), "-", "-", "-", "")

    bare = has("BareWindowToFirstFrame") ? value["BareWindowToFirstFrame"] : 0
    against("2 Window: editor, build + show to 1st frame", "EditorWindowToFirstFrame",
            cell("EditorWindowToFirstFrame"), bare, "bare window " cell("BareWindowToFirstFrame"), 1.5)
    line("  Window: bare QMainWindow, same", cell("BareWindowToFirstFrame"), "(floor)", "", "", "")
    if (has("EditorWindowToFirstFrame")) {
        line("    of which the editor before show()",
             sprintf("%.2f ms", counter["EditorWindowToFirstFrame", "build_ms"]), "", "", "", "")
        line("    widgets: editor / bare window", sprintf("%d / %d",
             counter["EditorWindowToFirstFrame", "widgets"], counter["BareWindowToFirstFrame", "widgets"]),
             "", "", "", "")
    }
    bare = has("BareWindowInFreshProcess") ? value["BareWindowInFreshProcess"] : 0
    against("  Window: editor, fresh process, main to frame", "EditorWindowInFreshProcess",
            cell("EditorWindowInFreshProcess"), bare, "bare " cell("BareWindowInFreshProcess"), 1.5)
    line("  Window: bare QMainWindow, fresh process", cell("BareWindowInFreshProcess"), "(floor)", "", "", "")

    files = 1000
    if (has("ShowEachFile")) files = counter["ShowEachFile", "files"] + 0
    cat = has("CatEachFile") ? value["CatEachFile"] : 0
    shown = cell("ShowEachFile")
    if (has("ShowEachFile")) shown = shown " (" fmt(value["ShowEachFile"] / files) "/file)"
    against(sprintf("3 CLI: voxtane-syx show, %d files", files), "ShowEachFile", shown, cat,
            "cat " cell("CatEachFile"), 2)
    shown = cell("ShowHelpEachFile")
    if (has("ShowHelpEachFile")) shown = shown " (" fmt(value["ShowHelpEachFile"] / files) "/file)"
    line("  CLI: of which start-up (show --help)", shown, "", "", "", "")
    shown = cell("CatEachFile")
    if (has("CatEachFile")) shown = shown " (" fmt(value["CatEachFile"] / files) "/file)"
    line(sprintf("  CLI: cat of the same %d banks + names", files), shown, "(floor)", "", "", "")

    period = 0
    if (has("SendPatchJackClickToLastByte")) period = counter["SendPatchJackClickToLastByte", "period_ms"] * 1e6
    else if (has("SendPatchRecordingClick")) period = counter["SendPatchRecordingClick", "period_ms"] * 1e6
    period_text = period > 0 ? "1 JACK period " fmt(period) : "1 JACK period"
    against("4 MIDI: Send Patch, click to last byte (JACK)", "SendPatchJackClickToLastByte",
            cell("SendPatchJackClickToLastByte"), period, period_text, 1)
    against("  MIDI: of which send to last byte", "SendPatchJackSendToLastByte",
            cell("SendPatchJackSendToLastByte"), period, period_text, 1)
    if (has("SendPatchJackSendToLastByte")) {
        line("  MIDI: of which open (connect, settle)",
             sprintf("%.2f ms", counter["SendPatchJackSendToLastByte", "open_ms"]), "", "", "", "")
        line("  MIDI: click handler until it returns",
             sprintf("%.2f ms", counter["SendPatchJackClickToLastByte", "handler_ms"]), "", "", "", "")
    }
    floor = has("GetBankJack") ? counter["GetBankJack", "floor_ms"] * 1e6 : 0
    against("5 Link: Get Bank, simulated synth (JACK)", "GetBankJack", cell("GetBankJack"),
            floor, "32 periods " fmt(floor), 1.5)
    floor = has("GetBankWireSpeed") ? counter["GetBankWireSpeed", "floor_ms"] * 1e6 : 0
    against("5 Link: Get Bank at 31,250 baud", "GetBankWireSpeed", cell("GetBankWireSpeed"),
            floor, "wire " fmt(floor), 1.5)
    at_least("7 Voice: render 1 voice (48 kHz, one line)", "OneVoiceOneLine", "realtime", 200)
    at_least("  Voice: render 8 voices (one-line tone)", "EightVoicesOneLine", "realtime", 25)
    at_least("  Voice: render 1 voice, two lines", "OneVoiceTwoLines", "realtime", 200)
    at_least("  Voice: render 4 voices, two lines", "FourVoicesTwoLines", "realtime", 25)
    if (has("CallbackWorstBlock")) {
        vperiod = counter["CallbackWorstBlock", "period_ms"] * 1e6
        worst = counter["CallbackWorstBlock", "worst_cpu_ms"] * 1e6
        line("  Voice: audio callback, worst block (cpu)", fmt(worst), "period " fmt(vperiod),
             sprintf("%.2f", worst / vperiod), "<=1", worst <= vperiod ? "yes" : "no")
        line("    block median / 99.9th pct (wall)", cell("CallbackWorstBlock") " / " \
             fmt(counter["CallbackWorstBlock", "p999_ms"] * 1e6), "", "", "", "")
    } else line("  Voice: audio callback, worst block", cell("CallbackWorstBlock"), "-", "-", "-", "")
    vperiod = has("PressToSoundJack") ? counter["PressToSoundJack", "period_ms"] * 1e6 : 0
    against("  Voice: key press to sound (JACK, 256 frames)", "PressToSoundJack",
            cell("PressToSoundJack"), 2 * vperiod, "2 periods " fmt(2 * vperiod), 1)
    bare = has("BareDialogStartToShown") ? value["BareDialogStartToShown"] : 0
    against("8 Start: voxtane, start to 1st window shown", "EditorStartToShown",
            cell("EditorStartToShown"), bare, "bare dialog " cell("BareDialogStartToShown"), 1.2)
    where = "(floor; on Xvfb)"
    if (has("BareDialogStartToShown") && counter["BareDialogStartToShown", "on_xvfb"] == 0)
        where = "(floor; offscreen, no Xvfb)"
    line("  Start: bare Qt dialog with a list, same", cell("BareDialogStartToShown"), where, "", "", "")
    against("4 MIDI: Send Patch click, recording backend", "SendPatchRecordingClick",
            cell("SendPatchRecordingClick"), period, period_text, 1)

    skipped = 0
    for (b in error) {
        if (!skipped++) print "\nSkipped:"
        print "  " b ": " error[b]
    }
}
' $(for program in "${programs[@]}"; do
        [ -s "$results/$program.json" ] && echo "$results/$program.json"
    done)

echo
echo "JSON output and logs: $results"
exit $status
