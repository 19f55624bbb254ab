#!/usr/bin/env bash
# Builds every preset and runs every test: the native unit and contract
# tests (plain and with ASan + UBSan), the fuzzers for a bounded number of
# runs, and, under Wine on a private display, the contract and end-to-end
# tests of the 32-bit and 64-bit Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

presets=(native native-asan win32 win64)
for preset in "${presets[@]}"; do
    echo "=== $preset ==="
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

if [ -f tests/fuzz/CMakeLists.txt ]; then
    echo "=== fuzz ==="
    cmake --preset fuzz > /dev/null
    cmake --build --preset fuzz
    scripts/fuzz.sh 20000
fi
