#!/usr/bin/env bash
# Builds every preset and runs every test: the native tests of the rules
# that need no Windows (plain and with ASan + UBSan), the fuzzer for a
# bounded number of runs with a fixed seed, and, under Wine on a private
# display, the in-process and end-to-end tests of the 32-bit and 64-bit
# Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

run_preset() {
    echo "=== $1 ==="
    cmake --preset "$1" > /dev/null
    cmake --build --preset "$1"
    ctest --preset "$1"
}

run_preset native
run_preset native-asan

echo "=== fuzz ==="
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz --target fuzzers
scripts/fuzz.sh 100000

run_preset win32
run_preset win64
