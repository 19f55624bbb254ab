#!/usr/bin/env bash
# The footprint benchmark: the starter beside a minimal tray program
# (tools/mintray), both built the same way, run under Wine in a session of
# their own. For each build it prints the median over several runs of
#
#   - the time from the process start to the icon in the tray,
#   - the time from a click on the icon to the popup menu being visible,
#   - the memory after start-up (working set and private bytes as
#     GetProcessMemoryInfo gives them; RSS and private resident memory of
#     the Linux process that Wine runs it in),
#   - the CPU time used while both sit idle in the tray,
#   - the size of the program file,
#
# for both programs, with the starter/minimal ratio and the starter's target
# beside each. It reports; it never passes or fails on a figure.
#
#   scripts/bench.sh
#
# Settings (environment): BENCH_PRESETS (default "win32 win64"), BENCH_RUNS
# (5), BENCH_IDLE_SECONDS (30), BENCH_IDLE_WINDOWS (3: both programs idle
# side by side in each window).
#
# Everything lives in build/bench: the builds, the Wine prefix and the X
# display, which it stops again at the end - nothing else.
set -euo pipefail
cd "$(dirname "$0")/.."

presets=${BENCH_PRESETS:-win32 win64}
runs=${BENCH_RUNS:-5}
idle_seconds=${BENCH_IDLE_SECONDS:-30}
idle_windows=${BENCH_IDLE_WINDOWS:-3}

scripts/setup.sh

bench_dir=build/bench
mkdir -p "$bench_dir"
bench_dir=$(cd "$bench_dir" && pwd)
session=tests/wine/session.sh

# --- build -------------------------------------------------------------
for preset in $presets; do
    echo "=== building $preset ==="
    cmake --preset "$preset" -B "$bench_dir/$preset" > "$bench_dir/$preset-configure.log"
    cmake --build "$bench_dir/$preset" -j2 --target QuellmarStarter QuellmarStandin MinimalTray FootprintProbe \
        > "$bench_dir/$preset-build.log" || { cat "$bench_dir/$preset-build.log"; exit 1; }
done

# --- the Wine session ----------------------------------------------------
stop_session() {
    "$session" stop "$bench_dir" > /dev/null 2>&1 || true
}
trap stop_session EXIT
trap 'exit 130' INT TERM
echo "=== starting a Wine session of its own ==="
"$session" start "$bench_dir"
eval "$("$session" env "$bench_dir")"

# Installed the way a user installs the starter: beside Quellmar (here the
# stand-in) in a folder of Program Files; the minimal program in a folder
# of its own. Each build has its own folders.
install_root="$WINEPREFIX/drive_c/Program Files/Quellmar Bench"
for preset in $presets; do
    starter_dir="$install_root/$preset/Quellmar"
    minimal_dir="$install_root/$preset/Minimal Tray"
    mkdir -p "$starter_dir" "$minimal_dir"
    cp "$bench_dir/$preset/QuellmarStarter.exe" "$bench_dir/$preset/tools/standin/Quellmar.exe" "$starter_dir/"
    cp "$bench_dir/$preset/tools/mintray/MinimalTray.exe" "$minimal_dir/"
done

# --- measure -------------------------------------------------------------
echo "=== measuring ($(nproc) cores, load average before: $(cut -d' ' -f1-3 /proc/loadavg)) ==="
for preset in $presets; do
    echo
    echo "--- $preset ---"
    "$session" run "$bench_dir" "$bench_dir/$preset/bench/FootprintProbe.exe" \
        --runs "$runs" --idle-seconds "$idle_seconds" --idle-windows "$idle_windows" \
        "C:\\Program Files\\Quellmar Bench\\$preset\\Quellmar\\QuellmarStarter.exe" \
        "C:\\Program Files\\Quellmar Bench\\$preset\\Minimal Tray\\MinimalTray.exe"
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
