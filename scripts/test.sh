#!/usr/bin/env bash
# Builds every preset and runs every test: the native tests of the rules
# that need no Windows (plain and with ASan + UBSan), the fuzzer for a
# bounded number of runs with a fixed seed, and, under Wine on a private
# display, the in-process and end-to-end tests of the 32-bit and 64-bit
# Windows builds; then the release's promises: a second build of the program
# elsewhere is the same bytes, and the release's signing step signs so that
# the signature verifies and comes off again.
#
# Two lanes run side by side:
#   builds  the win32 build and the win64 build, with both cores; then native,
#           native-asan, fuzz (built and run) and the release's check
#           (tests/release/verifiable.sh, which builds the 64-bit program
#           again elsewhere), while the Wine tests run: on one core, one job
#           at a time, and only when no other program wants that core
#           (SCHED_IDLE); a step that starts after the Wine tests have ended
#           runs as the builds before
#   Wine    one Wine session for both Windows builds (scripts/wine-session.sh
#           start build/wine: its display and its 64-bit prefix, which runs
#           32-bit and 64-bit programs alike), made while the win32 build
#           compiles; then, once both Windows builds are done, the win32
#           build's tests and the win64 build's (STARTER_WINE_SESSION hands
#           the session to their CTest fixtures)
# So the compilers work while Wine waits, and keep out of the journeys' way:
# with builds beside them that took both cores, even at a low priority, the
# Quellmar journey now and then read the starter's menu before the starter
# had carried out the command picked from the one before (the menu's command
# is a posted message; the tray's next click, a sent one, is taken first).
# First the packages are installed where missing (scripts/setup.sh, the
# step "setup"). Each other step's output goes to build/logs/STEP.log. A
# line "step NAME: N s" tells of each step as it ends; at the end every log
# is printed in the order above, then every step's seconds again and the
# total.
#
# Every step runs, whatever another gave, but a step that needs a build that
# failed (its tests, the release's check) is not run and counts as failed;
# both Windows builds are tested even when the first fails. Any failed step
# fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$EPOCHREALTIME

logs=build/logs
session=build/wine
rm -rf "$logs"
mkdir -p "$logs" "$session"
order=(wine-session win32-build win64-build win32-tests win64-tests native native-asan fuzz release)

seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", b - a }'; }

outcome() {  # NAME: the step's line
    local status
    status=$(cat "$logs/$1.status" 2>/dev/null) || status="no status: its lane ended early"
    case $status in
    0) echo "step $1: $(cat "$logs/$1.seconds") s" ;;
    [0-9]*) echo "step $1: $(cat "$logs/$1.seconds") s (FAILED, exit $status)" ;;
    *) echo "step $1: FAILED ($status)" ;;
    esac
}

# Runs COMMAND as the step NAME, its output in NAME's log; keeps its status
# and seconds, and tells that it ended.
step() {  # NAME COMMAND...
    local name=$1 begin=$EPOCHREALTIME status=0
    shift
    "$@" > "$logs/$name.log" 2>&1 < /dev/null || status=$?
    seconds_since "$begin" > "$logs/$name.seconds"
    echo "$status" > "$logs/$name.status"
    outcome "$name"
}

not_run() {  # NAME WHY
    echo "not run: $2" > "$logs/$1.log"
    echo "not run: $2" > "$logs/$1.status"
    outcome "$1"
}

# Waits until the file NAME is in the logs' folder (a step's NAME.status
# once it has ended), or the lane LANE (builds, wine) has ended.
await() {  # NAME LANE
    local pid
    while [ ! -f "$logs/$1" ]; do
        pid=$(cat "$logs/$2.pid" 2>/dev/null) || pid=""
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.5
    done
}

# Whether the step NAME, ended, passed.
passed() {  # NAME
    [ "$(cat "$logs/$1.status" 2>/dev/null)" = 0 ]
}

build_preset() {  # configured once, here, then built
    cmake --preset "$1" && cmake --build --preset "$1"
}

native_preset() {
    build_preset "$1" && ctest --preset "$1"
}

fuzz() {
    cmake --preset fuzz && cmake --build --preset fuzz --target fuzzers && scripts/fuzz.sh 100000
}

# Runs COMMAND as it is, or, while the Wine tests run, on the last core
# alone, one job at a time (CMake's builds), and only when no other program
# wants that core.
beside_wine() {  # COMMAND...
    if [ -f "$logs/wine-tests.started" ] && [ ! -f "$logs/win64-tests.status" ]; then
        (
            taskset -p -c "$(sed -n 's/^Cpus_allowed_list:.*[^0-9]\([0-9]*\)$/\1/p' /proc/self/status)" "$BASHPID" > /dev/null
            chrt --idle -p 0 "$BASHPID"
            export CMAKE_BUILD_PARALLEL_LEVEL=1
            "$@"
        )
    else
        "$@"
    fi
}

builds_lane() {
    renice -n 10 -p "$BASHPID" > /dev/null
    step win32-build build_preset win32
    step win64-build build_preset win64
    # The Wine tests start now: what follows keeps out of their way.
    await wine-tests.started wine
    step native beside_wine native_preset native
    step native-asan beside_wine native_preset native-asan
    step fuzz beside_wine fuzz
    # The 64-bit build is the one built again: its tests are the ones that
    # run on every host, and one build more fits the time this command may
    # take (scripts/release.sh --verify rebuilds both).
    if passed win64-build; then
        step release beside_wine tests/release/verifiable.sh win64
    else
        not_run release "the win64 build failed"
    fi
}

wine_lane() {
    step wine-session scripts/wine-session.sh start "$session"
    # On a host that runs no 32-bit code the 32-bit build's Wine tests skip
    # themselves (scripts/wine-session.sh); its other checks and the 64-bit
    # suite run.
    local bits
    await win64-build.status builds
    touch "$logs/wine-tests.started"
    for bits in 32 64; do
        if passed "win$bits-build"; then
            step "win$bits-tests" env STARTER_WINE_SESSION="$PWD/$session" ctest --preset "win$bits"
        else
            not_run "win$bits-tests" "the win$bits build failed"
        fi
    done
}

# Nothing else can run without the packages; what it says shows at once.
begin=$EPOCHREALTIME
scripts/setup.sh
seconds_since "$begin" > "$logs/setup.seconds"
echo 0 > "$logs/setup.status"
outcome setup

# Each lane in a process group of its own, so that an interrupted run ends
# exactly what it started: the lanes' groups and the Wine session.
builds_pid="" wine_pid=""
finish() {
    local pid
    for pid in $builds_pid $wine_pid; do kill -TERM -- "-$pid" 2>/dev/null || true; done
    # Once they have ended: a Wine program ending late could start a new
    # wineserver after the session's.
    for pid in $builds_pid $wine_pid; do wait "$pid" 2>/dev/null || true; done
    scripts/wine-session.sh stop "$session" > /dev/null 2>&1 || true
}
trap finish EXIT
trap 'exit 130' INT TERM

set -m
builds_lane & builds_pid=$!
wine_lane & wine_pid=$!
set +m
echo "$builds_pid" > "$logs/builds.pid"
echo "$wine_pid" > "$logs/wine.pid"
wait "$builds_pid" || true
builds_pid=""
wait "$wine_pid" || true
wine_pid=""
scripts/wine-session.sh stop "$session" > /dev/null 2>&1 || true

failed=0
summary=("$(outcome setup)")
for name in "${order[@]}"; do
    echo
    echo "=== $name ==="
    cat "$logs/$name.log" 2>/dev/null || true
    summary+=("$(outcome "$name")")
    echo "${summary[-1]}"
    [ "$(cat "$logs/$name.status" 2>/dev/null)" = 0 ] || failed=1
done

status=0
why=$(scripts/wine.sh --can-run-32) || status=$?
if [ "$status" = 77 ]; then
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$logs/win32-tests.log" | paste -sd, - | sed 's/,/, /g')
    echo
    echo "The 32-bit build's Wine tests were skipped (${skipped:-none reported}) because $why; its other checks and the 64-bit build's tests ran."
fi
echo
printf '%s\n' "${summary[@]}"
echo "total: $(seconds_since "$started") s$([ "$failed" = 0 ] || echo ", FAILED")"
exit $failed
