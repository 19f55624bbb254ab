#!/usr/bin/env bash
# A million inputs through every fuzzer: prints for each the runs done, the
# seconds taken and the runs per second. Fails like scripts/fuzz.sh when a
# fuzzer crashes.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000000}
fuzzers=(fuzz_pure_logic)
build=${FUZZ_BUILD_DIR:-build/fuzz}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
for name in "${fuzzers[@]}"; do
    exe=$build/tests/fuzz/$name
    corpus=$work/$name
    mkdir -p "$corpus"
    cp tests/fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
    start=$(date +%s.%N)
    status=0
    "$exe" -runs="$runs" -max_len=4096 -artifact_prefix="$work/$name-" "$corpus" > "$work/$name.log" 2>&1 || status=$?
    end=$(date +%s.%N)
    done_runs=$(grep -Eo '^Done [0-9]+ runs' "$work/$name.log" | grep -Eo '[0-9]+' | tail -n 1 || true)
    if [ "$status" -ne 0 ]; then
        echo "$name: CRASH (exit $status)"
        grep -E 'ERROR|SUMMARY|runtime error' "$work/$name.log" | head -n 20
        failed=1
        continue
    fi
    awk -v n="$name" -v r="${done_runs:-0}" -v s="$start" -v e="$end" \
        'BEGIN { t = e - s; printf "%-26s %10d runs %8.1f s %12.0f runs/s\n", n ":", r, t, (t > 0 ? r / t : 0) }'
done
exit $failed
