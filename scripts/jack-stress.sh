#!/bin/sh
# The long variant of JackExchangeStress: ROUNDS (default 200) rounds of a Get Bank and a
# confirmed write, each a voxtane-syx process of its own, against a simulated synth on a JACK
# dummy server, with one busy loop per core. Rounds run in chunks of CHUNK (default 50), each
# with a server of its own, so that other JACK tests waiting for the machine's JACK lock get
# their turn in between. Prints each chunk's figures and the totals.
#
#   scripts/jack-stress.sh [BUILD_DIR] [ROUNDS] [CHUNK]
set -eu
build=${1:-build}
rounds=${2:-200}
chunk=${3:-50}
test="$build/tests/midi/voxtane_exchange_jack_stress_tests"
[ -x "$test" ] || { echo "build $test first" >&2; exit 2; }
done_rounds=0 gets=0 writes=0 repeats=0 faults=0 failed=0
while [ "$done_rounds" -lt "$rounds" ]; do
    n=$((rounds - done_rounds)); [ "$n" -gt "$chunk" ] && n=$chunk
    status=0
    output=$(VOXTANE_JACK_STRESS_ROUNDS=$n "$test" 2>&1) || status=$?
    [ "$status" -eq 0 ] || failed=$((failed + 1))
    line=$(echo "$output" | grep '^JACK exchange stress' || true)
    [ -n "$line" ] || { echo "the test did not run (is jackd installed?)" >&2; exit 1; }
    echo "$output" | grep '^round ' || true  # what failed, if anything
    echo "$line"
    set -- $(echo "$line" | sed 's/[^0-9 ]//g')
    # rounds, gets, of, writes, of, messages got, sent, repeats
    gets=$((gets + $2)) writes=$((writes + $4))
    [ "$6" -eq "$7" ] || faults=$((faults + 1))
    repeats=$((repeats + $8))
    done_rounds=$((done_rounds + n))
done
echo "Total: Get Bank $gets of $rounds, confirmed writes $writes of $rounds," \
     "messages right after an identical one: $repeats, chunks with other messages than sent: $faults," \
     "chunks whose test failed: $failed"
