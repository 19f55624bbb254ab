#!/usr/bin/env bash
# Builds every preset and runs every test: the native tests of the rules
# that need no Windows (plain and with ASan + UBSan), the fuzzer for a
# bounded number of runs with a fixed seed, and, under Wine on a private
# display, the in-process and end-to-end tests of the 32-bit and 64-bit
# Windows builds; then the release's promises: a second build of the program
# elsewhere is the same bytes, and the release's signing step signs so that
# the signature verifies and comes off again.
#
# After each step it prints "step NAME: N s", the seconds the step took, and
# at the end every step's seconds again and the total.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$EPOCHREALTIME
steps=()

seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", b - a }'; }

# Runs the command as the step NAME and prints its seconds; gives the
# command's status (errexit does not reach inside it after || either).
step() {  # NAME COMMAND...
    local name=$1 begin=$EPOCHREALTIME status=0
    shift
    "$@" || status=$?
    steps+=("step $name: $(seconds_since "$begin") s$([ "$status" = 0 ] || echo " (failed, exit $status)")")
    echo "${steps[-1]}"
    return $status
}

run_preset() {  # chained: it also runs where errexit does not (after ||)
    echo "=== $1 ==="
    cmake --preset "$1" > /dev/null && cmake --build --preset "$1" && ctest --preset "$1"
}

fuzz() {
    echo "=== fuzz ==="
    cmake --preset fuzz > /dev/null && cmake --build --preset fuzz --target fuzzers && scripts/fuzz.sh 100000
}

step setup scripts/setup.sh
step native run_preset native
step native-asan run_preset native-asan
step fuzz fuzz

# Both Windows builds are tested even when the first fails. On a host that
# runs no 32-bit code the 32-bit build's Wine tests skip themselves
# (scripts/wine-session.sh); its other checks and the 64-bit suite run.
failed=0
mkdir -p build
step win32 run_preset win32 > >(tee build/win32-tests.log) || failed=1
step win64 run_preset win64 || failed=1

# The 64-bit build is the one built again: its tests are the ones that run
# on every host, and one build more fits the time this command may take
# (scripts/release.sh --verify rebuilds both).
echo "=== release ==="
step release tests/release/verifiable.sh win64 || failed=1

status=0
why=$(scripts/wine.sh --can-run-32) || status=$?
if [ "$status" = 77 ]; then
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' build/win32-tests.log | paste -sd, - | sed 's/,/, /g')
    echo
    echo "The 32-bit build's Wine tests were skipped (${skipped:-none reported}) because $why; its other checks and the 64-bit build's tests ran."
fi
echo
printf '%s\n' "${steps[@]}"
echo "total: $(seconds_since "$started") s$([ "$failed" = 0 ] || echo " (failed)")"
exit $failed
