#!/usr/bin/env bash
# A million inputs (or RUNS) through every fuzzer with fresh seeds: prints
# for each the runs done, the seconds taken and the runs per second. Fails
# like scripts/fuzz.sh, whose loop it is, when a fuzzer crashes.
#   scripts/bench-fuzz.sh [RUNS]
exec "$(dirname "$0")/fuzz.sh" --bench "${1:-1000000}"
