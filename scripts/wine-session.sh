#!/usr/bin/env bash
# A private Wine session for one run of the starter, the tests or the
# benchmark: its own Xvfb display and its own WINEPREFIX inside the build
# tree. It stops only what it started: its Xvfb by process id and its own
# wineserver.
#   wine-session.sh start BUILD_DIR         make the display and the prefix
#   wine-session.sh run BUILD_DIR EXE ARGS  run a Windows program in the session
#   wine-session.sh env BUILD_DIR           print the session's environment
#   wine-session.sh stop BUILD_DIR          take the session down
# Wine is run through scripts/wine.sh. With STARTER_BUILD_BITS=32 (a 32-bit
# build's tests) on a host that runs no 32-bit code, each command says why
# and exits 77, CTest's skip.
#
# STARTER_WINE_SESSION=DIR names a session that its owner made with
# `start DIR` and ends with `stop DIR` (scripts/test.sh: one session for the
# tests of both Windows builds, its prefix a 64-bit one, which runs 32-bit
# and 64-bit programs alike). Given any other BUILD_DIR, every command then
# works in that session instead: start only checks that it is up, run and
# env use it, stop leaves it up for its owner.
set -euo pipefail
wine=$(dirname "$0")/wine.sh
[ "${STARTER_BUILD_BITS:-}" != 32 ] || "$wine" --can-run-32 || exit

cmd=${1:?start|run|env|stop}
build=$(cd "${2:?build dir}" && pwd)
borrowed=no
if [ -n "${STARTER_WINE_SESSION:-}" ]; then
    owner=$(cd "$STARTER_WINE_SESSION" 2>/dev/null && pwd) || {
        echo "STARTER_WINE_SESSION names no folder: $STARTER_WINE_SESSION" >&2; exit 1; }
    [ "$owner" = "$build" ] || borrowed=yes build=$owner
fi
state="$build/wine-session"

export WINEDEBUG=-all
export WINEPREFIX="$build/wineprefix"
if [ "$cmd" = run ] || [ "$cmd" = env ]; then
    DISPLAY=$(cat "$state/display" 2>/dev/null) || { echo "no Wine session in $build: run '$0 start $build' first" >&2; exit 1; }
    export DISPLAY
fi

up() { [ -f "$state/ready" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

case "$cmd" in
start)
    if [ "$borrowed" = yes ]; then
        up || { echo "no Wine session is up in $build (STARTER_WINE_SESSION): its owner starts it" >&2; exit 1; }
        echo "Wine session of $build on $(cat "$state/display"), prefix $WINEPREFIX"; exit 0
    fi
    mkdir -p "$state"
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
        echo "Wine session already running on $(cat "$state/display")"; exit 0
    fi
    # Xvfb picks a free display number itself and writes it to fd 3.
    rm -f "$state/displayfd"
    mkfifo "$state/displayfd"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$state/displayfd" >"$state/xvfb.log" 2>&1 < /dev/null &
    echo $! > "$state/xvfb.pid"
    read -r -t 30 number < "$state/displayfd" || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
    echo ":$number" > "$state/display"
    export DISPLAY=":$number"
    "$wine" wineboot -i > "$state/wineboot.log" 2>&1 || true
    # No window manager runs on this display: Wine's managed windows would
    # wait two seconds for one each time an activated window is hidden or
    # destroyed. Unmanaged, Wine places and activates the windows itself.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >> "$state/wineboot.log" 2>&1 || true
    wineserver -w
    touch "$state/ready"
    echo "Wine session on $DISPLAY, prefix $WINEPREFIX"
    ;;
run)
    shift 2
    exec "$wine" "$@"
    ;;
env)
    echo "export DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX WINEDEBUG=$WINEDEBUG"
    ;;
stop)
    if [ "$borrowed" = yes ]; then echo "Wine session of $build left up for its owner"; exit 0; fi
    if [ -f "$state/display" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    [ ! -f "$state/xvfb.pid" ] || kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display" "$state/displayfd" "$state/ready"
    ;;
*)
    echo "unknown command $cmd" >&2; exit 2 ;;
esac
