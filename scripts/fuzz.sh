#!/usr/bin/env bash
# Runs every fuzzer of build/fuzz for RUNS inputs each, starting from the
# seeds in tests/fuzz/seeds, and prints how many inputs each one ran. Exits
# non-zero when a fuzzer finds a crash; the input that caused it is kept in
# build/fuzz/artifacts.
#   scripts/fuzz.sh RUNS          a fixed seed: the test command's runs are the same every time
#   scripts/fuzz.sh --bench RUNS  fresh seeds, and the seconds and runs per second (scripts/bench-fuzz.sh)
# Build first: cmake --preset fuzz && cmake --build --preset fuzz --target fuzzers
set -euo pipefail
cd "$(dirname "$0")/.."

bench=no
if [ "${1:-}" = --bench ]; then bench=yes; shift; fi
runs=${1:?usage: scripts/fuzz.sh [--bench] RUNS}
build=${FUZZ_BUILD_DIR:-build/fuzz}
fuzzers=(fuzz_pure_logic)
# libFuzzer takes seed 0 as "pick a fresh one".
seed=${FUZZ_SEED:-$([ "$bench" = yes ] && echo 0 || echo 1)}

artifacts=$build/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
for name in "${fuzzers[@]}"; do
    exe=$build/tests/fuzz/$name
    if [ ! -x "$exe" ]; then
        echo "$name: not built ($exe missing)" >&2
        failed=1
        continue
    fi
    # A scratch corpus: libFuzzer adds to the corpus it is given, and the
    # seeds in the source tree must stay as they are.
    corpus=$work/$name
    mkdir -p "$corpus"
    cp tests/fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
    log=$work/$name.log
    status=0
    start=$(date +%s.%N)
    "$exe" -seed="$seed" -runs="$runs" -max_len=4096 -artifact_prefix="$artifacts/$name-" "$corpus" > "$log" 2>&1 || status=$?
    end=$(date +%s.%N)
    done_runs=$(grep -Eo '^Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' | tail -n 1 || true)
    if [ "$status" -ne 0 ]; then
        echo "$name: CRASH (exit $status)"
        grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$log" | head -n 20
        failed=1
    elif [ "$bench" = yes ]; then
        awk -v n="$name" -v r="${done_runs:-0}" -v s="$start" -v e="$end" \
            'BEGIN { t = e - s; printf "%-26s %10d runs %8.1f s %12.0f runs/s\n", n ":", r, t, (t > 0 ? r / t : 0) }'
    else
        echo "$name: ${done_runs:-no} runs done"
    fi
done
exit $failed
