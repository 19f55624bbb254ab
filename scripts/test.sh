#!/usr/bin/env bash
# Builds every preset and runs every test: the native tests of the rules
# that need no Windows (plain and with ASan + UBSan), the fuzzer for a
# bounded number of runs with a fixed seed, and, under Wine on a private
# display, the in-process and end-to-end tests of the 32-bit and 64-bit
# Windows builds; then the release's promises: a second build of the program
# elsewhere is the same bytes, and the release's signing step signs so that
# the signature verifies and comes off again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

run_preset() {  # chained: it also runs where errexit does not (after ||)
    echo "=== $1 ==="
    cmake --preset "$1" > /dev/null && cmake --build --preset "$1" && ctest --preset "$1"
}

run_preset native
run_preset native-asan

echo "=== fuzz ==="
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz --target fuzzers
scripts/fuzz.sh 100000

# Both Windows builds are tested even when the first fails. On a host that
# runs no 32-bit code the 32-bit build's Wine tests skip themselves
# (scripts/wine-session.sh); its other checks and the 64-bit suite run.
failed=0
mkdir -p build
run_preset win32 | tee build/win32-tests.log || failed=1
run_preset win64 || failed=1

# The 64-bit build is the one built again: its tests are the ones that run
# on every host, and one build more fits the time this command may take
# (scripts/release.sh --verify rebuilds both).
echo "=== release ==="
tests/release/verifiable.sh win64 || failed=1

status=0
why=$(scripts/wine.sh --can-run-32) || status=$?
if [ "$status" = 77 ]; then
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' build/win32-tests.log | paste -sd, - | sed 's/,/, /g')
    echo
    echo "The 32-bit build's Wine tests were skipped (${skipped:-none reported}) because $why; its other checks and the 64-bit build's tests ran."
fi
exit $failed
