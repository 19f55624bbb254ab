#!/usr/bin/env bash
# The footprint benchmark: the starter beside the minimal tray program
# (tools/mintray), both built the same way and run under Wine in a session
# of their own; bench/FootprintProbe.cpp measures both and prints the
# medians, the starter/minimal ratios and the targets. It reports; it never
# passes or fails on a figure. The minimal program and the probe are no part
# of a plain build (nor of the test command's): they are built here, by name.
#
#   scripts/bench.sh
#
# Settings (environment): BENCH_PRESETS (default "win32 win64", on a host
# that runs no 32-bit code "win64"), BENCH_RUNS (5), BENCH_IDLE_SECONDS (30),
# BENCH_OPENINGS (500 per program and run). Everything lives in build/bench
# and is stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

status=0
why=$(scripts/wine.sh --can-run-32) || status=$?
case $status in
0) presets=${BENCH_PRESETS:-win32 win64} ;;
77)
    presets=${BENCH_PRESETS:-win64}
    if [[ " $presets " == *" win32 "* ]]; then echo "No 32-bit figures: $why." >&2; exit 1; fi
    echo "64-bit figures only: $why." ;;
*) exit 1 ;;
esac

bench_dir=build/bench
mkdir -p "$bench_dir"
bench_dir=$(cd "$bench_dir" && pwd)
session=scripts/wine-session.sh

for preset in $presets; do
    echo "=== building $preset ==="
    cmake --preset "$preset" -B "$bench_dir/$preset" > "$bench_dir/$preset-configure.log"
    cmake --build "$bench_dir/$preset" -j2 --target QuellmarStarter QuellmarStandin MinimalTray FootprintProbe \
        > "$bench_dir/$preset-build.log" || { cat "$bench_dir/$preset-build.log"; exit 1; }
done

stop_session() { "$session" stop "$bench_dir" > /dev/null 2>&1 || true; }
trap stop_session EXIT
trap 'exit 130' INT TERM
"$session" start "$bench_dir"
eval "$("$session" env "$bench_dir")"

# Installed the way a user installs the starter: beside Quellmar (here the
# stand-in) in a folder of Program Files; the minimal program in its own.
for preset in $presets; do
    folder="$WINEPREFIX/drive_c/Program Files/Quellmar Bench/$preset"
    mkdir -p "$folder/Quellmar" "$folder/Minimal Tray"
    cp "$bench_dir/$preset/QuellmarStarter.exe" "$bench_dir/$preset/tools/standin/Quellmar.exe" "$folder/Quellmar/"
    cp "$bench_dir/$preset/tools/mintray/MinimalTray.exe" "$folder/Minimal Tray/"
done

echo "=== measuring on $(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg) ==="
for preset in $presets; do
    echo
    echo "--- $preset ---"
    ls -l "$bench_dir/$preset/QuellmarStarter.exe" "$bench_dir/$preset/tools/mintray/MinimalTray.exe"
    "$session" run "$bench_dir" "$bench_dir/$preset/bench/FootprintProbe.exe" \
        --runs "${BENCH_RUNS:-5}" --idle-seconds "${BENCH_IDLE_SECONDS:-30}" --openings "${BENCH_OPENINGS:-500}" \
        "C:\\Program Files\\Quellmar Bench\\$preset\\Quellmar\\QuellmarStarter.exe" \
        "C:\\Program Files\\Quellmar Bench\\$preset\\Minimal Tray\\MinimalTray.exe"
    echo "load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
done
