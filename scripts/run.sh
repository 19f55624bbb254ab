#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine, installed the way a
# user installs it: QuellmarStarter.exe beside Quellmar.exe (here the
# stand-in Quellmar) in "C:\Program Files\Quellmar\" of a Wine prefix of
# its own (build/run/wineprefix). The starter lives in the notification
# area: click its icon for the menu.
#
# It runs the 32-bit build where this host runs 32-bit code, otherwise the
# 64-bit one (scripts/wine.sh decides), and says which. A starter that does
# not start, or ends within its first seconds, is reported with Wine's
# message, and the script then exits non-zero.
#
# It runs on the display in $DISPLAY. Without one, it starts a private Wine
# session (scripts/wine-session.sh: a virtual X display and the prefix), says
# so, and once the starter's icon is there saves a screenshot of that
# desktop, clicks the icon, saves one of the open menu and closes the menu
# with Escape.
#
# It waits until the starter ends ("Close Starter" in its menu, or Ctrl-C
# here) and then stops what it started: the starter, on a virtual display
# everything in its own Wine prefix, and its Xvfb - nothing else.
#
# STARTER_BUILD_DIR=dir builds into dir instead of the preset's own folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh

# --- the build this host can run ---------------------------------------
status=0
why=$(scripts/wine.sh --can-run-32) || status=$?
case $status in
0) bits=32 ;;
77) bits=64; echo "Running the 64-bit build: $why." ;;
*) exit 1 ;;
esac
preset=win$bits
build_dir=${STARTER_BUILD_DIR:-build/$preset}
cmake --preset "$preset" -B "$build_dir" > /dev/null
cmake --build "$build_dir" --target QuellmarStarter QuellmarStandin
build_dir=$(cd "$build_dir" && pwd)

# --- the display and the private Wine prefix ----------------------------
run_dir="$root/build/run"
mkdir -p "$run_dir"
session=scripts/wine-session.sh
starter_pid=""
virtual_display=no

stop_all() {
    trap - EXIT INT TERM
    if [ -n "$starter_pid" ] && kill -0 "$starter_pid" 2>/dev/null; then
        kill "$starter_pid" 2>/dev/null || true
        wait "$starter_pid" 2>/dev/null || true
    fi
    # Nobody can see what is left on the virtual display: the session ends
    # the programs of its own prefix, then the display.
    [ "$virtual_display" = no ] || "$session" stop "$run_dir"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ] && xdpyinfo > /dev/null 2>&1; then
    echo "Running on display $DISPLAY."
    export WINEPREFIX="$run_dir/wineprefix"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX (first run only)..."
        scripts/wine.sh wineboot -i > "$run_dir/wineboot.log" 2>&1 || true
        wineserver -w
    fi
else
    virtual_display=yes
    echo "No display: running on a virtual X display."
    "$session" start "$run_dir"
    eval "$("$session" env "$run_dir")"
fi

install_dir="$WINEPREFIX/drive_c/Program Files/Quellmar"
mkdir -p "$install_dir"
cp "$build_dir/QuellmarStarter.exe" "$install_dir/"
cp "$build_dir/tools/standin/Quellmar.exe" "$install_dir/"
echo "Installed the $bits-bit build in C:\\Program Files\\Quellmar\\ ($install_dir)."

# --- run ---------------------------------------------------------------
log="$run_dir/starter.log"
setsid scripts/wine.sh "C:\\Program Files\\Quellmar\\QuellmarStarter.exe" > "$log" 2>&1 &
starter_pid=$!

# The starter is resident: one that ends, or shows no icon, did not start.
failed() {
    status=0
    kill -0 "$starter_pid" 2>/dev/null || { wait "$starter_pid" || status=$?; starter_pid=""; }
    echo "Quellmar Starter ($bits-bit build) $1 (exit status $status). Wine said:" >&2
    sed 's/^/    /' "$log" >&2
    [ -s "$log" ] || echo "    (nothing)" >&2
    exit 1
}
# Polls up to $1 tenths of a second until "$2" succeeds; fails when the starter ends.
poll() {
    for ((i = 0; i < $1; i++)); do
        kill -0 "$starter_pid" 2>/dev/null || failed "ended within its first seconds"
        if eval "$2"; then return 0; fi
        sleep 0.1
    done
    return 1
}
poll 50 false || true  # its first five seconds

if [ "$virtual_display" = yes ]; then
    # Wine's own tray window holds the icon; the popup menu is the starter's
    # only X window larger than 1x1.
    tray() { xdotool search --name "Wine System Tray" 2> /dev/null | head -n 1; }
    menu_open() { xwininfo -root -children | awk '/"quellmarstarter.exe"/ && !/ 1x1\+/ { n++ } END { exit !n }'; }
    poll 600 '[ -n "$(tray)" ]' || failed "showed no icon within a minute"
    sleep 1  # the icon is drawn after its window shows
    import -window root "$run_dir/desktop.png"
    echo "Screenshot of the virtual desktop: $run_dir/desktop.png"
    # The first icon's cell: 20 pixels square (the 16-pixel icon and its
    # border) in the lower left of the tray window, inside its 3-pixel frame.
    eval "$(xdotool getwindowgeometry --shell "$(tray)")"
    for _ in 1 2 3; do  # a click on a window just shown is now and then lost
        xdotool mousemove $((X + 13)) $((Y + HEIGHT - 13)) click 1
        if poll 50 menu_open; then break; fi
    done
    menu_open || failed "opened no menu when its icon was clicked (see $run_dir/desktop.png)"
    sleep 0.5  # the menu is drawn after its window shows
    import -window root "$run_dir/menu.png"
    echo "Screenshot of the open menu: $run_dir/menu.png"
    xdotool key Escape
    poll 50 '! menu_open' || echo "The menu stayed open after Escape."
fi
echo "Quellmar Starter ($bits-bit build) is running: click its icon in the notification area. Ctrl-C stops it."
echo "Wine's messages go to $log."

status=0
wait "$starter_pid" || status=$?
starter_pid=""
echo "Quellmar Starter has ended (exit status $status)."
if [ "$virtual_display" = no ]; then
    echo "Programs it launched keep running; 'WINEPREFIX=$WINEPREFIX wineserver -k' ends them."
fi
