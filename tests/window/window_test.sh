#!/usr/bin/env bash
# Starts the program on a 640x400 Xvfb screen of the given depth. With "run": Enter in the setup
# dialog takes the desktop's size, the window must be 640x400, a screenshot must show exactly
# the frame the program drew, and Escape must end it with exit status 1. With "cancel": Escape
# in the dialog must end it with status 0 before any main window opens.
# Usage: window_test.sh PROGRAM FRAME_CHECK DEPTH run|cancel
set -euo pipefail
program=$1 frame_check=$2 depth=$3 mode=$4

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Xvfb picks a free display number itself and writes it to a file, so that tests can run
# side by side.
Xvfb -displayfd 3 -screen 0 "640x400x$depth" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")"
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

# Under AddressSanitizer the system's display libraries (libdbus, and the X libraries SDL loads
# and unloads itself) leave allocations that cannot be attributed; the program's own memory is
# checked for leaks by the headless tests, so leak detection is off for the real window.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The program reads its archives from the current directory, beside the executable.
cd "$(dirname "$program")"
SDL_AUDIODRIVER=dummy "$program" >"$work/stdout" 2>"$work/stderr" &
app_pid=$!

find_window() {
    timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" | head -n 1
}
# A key sent while a new window is still taking the focus can be lost, so a key that must
# make something happen is pressed again until it does (at most five times).
press_until() {
    local key=$1 condition=$2
    for _ in 1 2 3 4 5; do
        xdotool key "$key"
        if eval "$condition"; then
            return 0
        fi
    done
    return 1
}
wait_for_exit() {
    timeout 10 tail --pid="$app_pid" -f /dev/null || fail "$1"
    status=0
    wait "$app_pid" || status=$?
    app_pid=""
}

dialog=$(find_window "^zap 'em good\$") ||
    fail "no setup dialog appeared; stderr: $(cat "$work/stderr")"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
if [ "$mode" = cancel ]; then
    press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' ||
        fail "Escape in the dialog did not end the program"
    wait_for_exit "the program did not end"
    [ "$status" = 0 ] || fail "exit status $status after Cancel, expected 0"
    ! xdotool search --name '^rkWindow$' >/dev/null 2>&1 || fail "a main window opened after Cancel"
    echo "depth $depth: Escape in the setup dialog ends the program with status 0"
    exit 0
fi
press_until Return 'window=$(find_window "^rkWindow\$" 2)' ||
    fail "no window named rkWindow appeared after Enter; stderr: $(cat "$work/stderr")"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, not 640x400"

# Give the program a few frames, then compare the screen with what it must show.
sleep 1
xwd -root -silent >"$work/shot.xwd" || fail "xwd could not take a screenshot"
"$frame_check" "$work/shot.xwd" || fail "the screen does not show the program's frame"

xdotool windowfocus --sync "$window" 2>/dev/null || true
press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' || fail "Escape did not end the program"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status after Escape, expected 1; stderr: $(cat "$work/stderr")"
echo "depth $depth: dialog, window 640x400, frame exact, Escape ends with status 1"
