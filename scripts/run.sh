#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine, installed the way a
# user installs it: QuellmarStarter.exe beside Quellmar.exe (here the
# stand-in Quellmar) in "C:\Program Files\Quellmar\" of a Wine prefix of
# its own (build/run/wineprefix). The starter lives in the notification
# area: click its icon for the menu.
#
# It runs on the display in $DISPLAY. Without one, it starts a virtual X
# display (Xvfb) itself, says so, and saves a screenshot of that desktop
# once the starter's icon is there.
#
# It waits until the starter ends ("Close Starter" in its menu, or Ctrl-C
# here) and then stops what it started: the starter, on a virtual display
# everything in its own Wine prefix, and its Xvfb - nothing else.
#
# STARTER_BUILD_DIR=dir builds into dir instead of the win32 preset's own
# folder (build/win32).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh

# --- build -------------------------------------------------------------
build_dir=${STARTER_BUILD_DIR:-}
if [ -n "$build_dir" ]; then
    cmake --preset win32 -B "$build_dir" > /dev/null
    cmake --build "$build_dir" --target QuellmarStarter QuellmarStandin
else
    build_dir=build/win32
    cmake --preset win32 > /dev/null
    cmake --build --preset win32 --target QuellmarStarter QuellmarStandin
fi
build_dir=$(cd "$build_dir" && pwd)

# --- the private Wine prefix and the installation ---------------------
run_dir="$root/build/run"
mkdir -p "$run_dir"
export WINEPREFIX="$run_dir/wineprefix"
export WINEDEBUG=-all
# No downloads of Wine's .NET and HTML engines: the starter needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
starter_pid=""
virtual_display=no

stop_all() {
    trap - EXIT INT TERM
    if [ -n "$starter_pid" ] && kill -0 "$starter_pid" 2>/dev/null; then
        kill "$starter_pid" 2>/dev/null || true
        wait "$starter_pid" 2>/dev/null || true
    fi
    if [ "$virtual_display" = yes ]; then
        # Nobody can see what is left on the virtual display: end the
        # programs of this run's own prefix, then the display.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        if [ -n "$xvfb_pid" ]; then
            kill "$xvfb_pid" 2>/dev/null || true
            wait "$xvfb_pid" 2>/dev/null || true
        fi
    fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# --- the display -------------------------------------------------------
if [ -n "${DISPLAY:-}" ] && xdpyinfo > /dev/null 2>&1; then
    echo "Running on display $DISPLAY."
else
    virtual_display=yes
    fifo="$run_dir/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    # Its own session, like the starter's below: a Ctrl-C reaches only this
    # script, which then takes things down in order.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$fifo" > "$run_dir/xvfb.log" 2>&1 < /dev/null &
    xvfb_pid=$!
    if ! read -r -t 30 number < "$fifo"; then
        echo "The virtual display did not start; see $run_dir/xvfb.log" >&2
        exit 1
    fi
    rm -f "$fifo"
    export DISPLAY=":$number"
    echo "No display: running on a virtual X display, $DISPLAY."
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (first run only)..."
    wineboot -i > "$run_dir/wineboot.log" 2>&1 || true
    wineserver -w
fi

install_dir="$WINEPREFIX/drive_c/Program Files/Quellmar"
mkdir -p "$install_dir"
cp "$build_dir/QuellmarStarter.exe" "$install_dir/"
cp "$build_dir/tools/standin/Quellmar.exe" "$install_dir/"
echo "Installed in C:\\Program Files\\Quellmar\\ ($install_dir)."

# --- run ---------------------------------------------------------------
setsid wine "C:\\Program Files\\Quellmar\\QuellmarStarter.exe" &
starter_pid=$!
echo "Quellmar Starter is running: click its icon in the notification area. Ctrl-C stops it."

if [ "$virtual_display" = yes ]; then
    # Wine's own tray window holds the icon: wait (bounded) for it, then
    # show what the desktop looks like.
    for _ in $(seq 1 300); do
        if xdotool search --name "Wine System Tray" > /dev/null 2>&1; then break; fi
        if ! kill -0 "$starter_pid" 2>/dev/null; then break; fi
        sleep 0.2
    done
    screenshot="$run_dir/screenshot.png"
    if import -window root "$screenshot" 2> /dev/null; then
        echo "Screenshot of the virtual desktop: $screenshot"
    else
        echo "No screenshot could be taken of $DISPLAY."
    fi
fi

status=0
wait "$starter_pid" || status=$?
starter_pid=""
echo "Quellmar Starter has ended (exit status $status)."
if [ "$virtual_display" = no ]; then
    echo "Programs it launched keep running; 'WINEPREFIX=$WINEPREFIX wineserver -k' ends them."
fi
