#!/usr/bin/env bash
# Starts the program on a 640x400 Xvfb screen of the given depth, checks that its window is
# 640x400, that a screenshot shows exactly the frame it drew, and that Escape ends it with
# exit status 1. Usage: window_test.sh PROGRAM FRAME_CHECK DEPTH
set -euo pipefail
program=$1 frame_check=$2 depth=$3

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

# The program reads its archives from the current directory, beside the executable.
cd "$(dirname "$program")"
SDL_AUDIODRIVER=dummy "$program" >"$work/stdout" 2>"$work/stderr" &
app_pid=$!

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^rkWindow$' | head -n 1) ||
    fail "no window named rkWindow appeared; stderr: $(cat "$work/stderr")"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, not 640x400"

# Give the program a few frames, then compare the screen with what it must show.
sleep 1
xwd -root -silent >"$work/shot.xwd" || fail "xwd could not take a screenshot"
"$frame_check" "$work/shot.xwd" || fail "the screen does not show the program's frame"

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape
status=0
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "Escape did not end the program"
wait "$app_pid" || status=$?
app_pid=""
[ "$status" = 1 ] || fail "exit status $status after Escape, expected 1; stderr: $(cat "$work/stderr")"
echo "depth $depth: window 640x400, frame exact, Escape ends with status 1"
