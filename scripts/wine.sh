#!/usr/bin/env bash
# The one place that knows how to run Wine on this host. Every Wine call of
# the scripts and the test session goes through here (wineboot, reg, the
# programs):
#   scripts/wine.sh PROGRAM [ARGS]   run PROGRAM as `wine PROGRAM ARGS` would
#   scripts/wine.sh --can-run-32     exit 0 when a 32-bit build can run here;
#                                    77 when the host runs no 32-bit x86 code
#                                    (the reason on stdout); 1 when Wine's
#                                    32-bit half is missing or broken
#
# Debian's /usr/bin/wine (and wineboot through it) takes Wine's 32-bit loader
# whenever wine32:i386 is installed, even for a 64-bit program, and that
# loader is a 32-bit Linux program. On a host whose kernel runs no 32-bit
# code, Wine's 64-bit loader is called directly instead (and is the loader
# Wine starts again for the processes it creates); 64-bit programs then run
# as usual, 32-bit ones cannot. Elsewhere /usr/bin/wine is used as ever.
#
# STARTER_HOST_RUNS_32BIT=no (or yes) stands in for the probe's answer, so
# that a host that runs 32-bit code can take the 64-bit-only road.
set -euo pipefail

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

# Sets runs32 (yes, no, broken) and why: asked of Wine's own 32-bit loader,
# the program that must run for a 32-bit build.
probe() {
    case ${STARTER_HOST_RUNS_32BIT:-} in
    yes | no) runs32=$STARTER_HOST_RUNS_32BIT why="STARTER_HOST_RUNS_32BIT=$runs32 is set"; return ;;
    "") ;;
    *) runs32=broken why="STARTER_HOST_RUNS_32BIT must be yes or no, not '$STARTER_HOST_RUNS_32BIT'"; return ;;
    esac
    if [ ! -x "$wine32" ]; then
        runs32=broken why="Wine's 32-bit half ($wine32, package wine32:i386) is missing: scripts/setup.sh installs it"
        return
    fi
    local status=0
    why=$("$wine32" --version 2>&1) || status=$?
    case $status in
    0) runs32=yes ;;
    # 126: the kernel refused to execute it ("Exec format error").
    126) runs32=no why=${why##*: } why="$wine32: ${why:-cannot execute}" ;;
    *) runs32=broken why="$wine32 --version failed (exit $status): $why" ;;
    esac
}

# No downloads of Wine's .NET and HTML engines: nothing run here needs either.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES-mscoree,mshtml=}

probe
if [ "${1:-}" = --can-run-32 ]; then
    case $runs32 in
    yes) exit 0 ;;
    no) echo "this host runs no 32-bit x86 code ($why)"; exit 77 ;;
    *) echo "$why" >&2; exit 1 ;;
    esac
fi

if [ "$runs32" = no ]; then
    export WINELOADER=$wine64 WINEDEBUG=${WINEDEBUG-fixme-all}
    exec "$wine64" "$@"
fi
exec wine "$@"
