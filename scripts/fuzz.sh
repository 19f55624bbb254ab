#!/usr/bin/env bash
# Runs every fuzzer of build/fuzz for RUNS inputs each, starting from the
# seeds in tests/fuzz/seeds, and prints how many inputs each one ran. Exits
# non-zero when a fuzzer finds a crash; the input that caused it is kept in
# build/fuzz/artifacts.
#   scripts/fuzz.sh RUNS     (build first: cmake --preset fuzz && cmake --build --preset fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:?usage: scripts/fuzz.sh RUNS}
build=${FUZZ_BUILD_DIR:-build/fuzz}
fuzzers=(fuzz_pure_logic)

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
    # A fixed seed: the test command's runs are the same every time; the
    # benchmark script's million runs explore with fresh seeds.
    "$exe" -seed="${FUZZ_SEED:-1}" -runs="$runs" -max_len=4096 -artifact_prefix="$artifacts/$name-" "$corpus" > "$log" 2>&1 || status=$?
    done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1 || true)
    if [ "$status" -ne 0 ]; then
        echo "$name: CRASH (exit $status)"
        grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$log" | head -n 20
        failed=1
    else
        echo "$name: ${done_line:-no summary}"
    fi
done
exit $failed
