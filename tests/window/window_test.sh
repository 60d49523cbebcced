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
display_lock=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
    [ -n "$display_lock" ] && rm -rf "$display_lock" || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        echo "  the program is still running; its windows:" >&2
        for id in $(xdotool search --name '.' 2>/dev/null); do
            echo "    $id '$(xdotool getwindowname "$id" 2>/dev/null)'" >&2
        done
    elif [ -n "$app_pid" ]; then
        echo "  the program has ended" >&2
    fi
    exit 1
}

# A display number of our own: claimed with an atomic mkdir, so that tests running side by side
# (whose X servers could otherwise race for the same free number) never share a server. A claim
# whose test is no longer running is taken over.
for number in $(seq 40 99); do
    claim="/tmp/crush-window-test-$number"
    if [ -d "$claim" ] && ! kill -0 "$(cat "$claim/pid" 2>/dev/null || echo 0)" 2>/dev/null; then
        rm -rf "$claim"
    fi
    if mkdir "$claim" 2>/dev/null; then
        echo $$ >"$claim/pid"
        if [ ! -e "/tmp/.X$number-lock" ]; then
            display_lock=$claim
            break
        fi
        rm -rf "$claim"
    fi
done
[ -n "$display_lock" ] || fail "no free display number"
export DISPLAY=":$number"
# -noreset: an X server normally resets when its last client leaves, refusing connections
# meanwhile, and the program leaves and comes back between the setup dialog and its window.
Xvfb "$DISPLAY" -screen 0 "640x400x$depth" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb on $DISPLAY ended: $(cat "$work/xvfb.log")"
    sleep 0.05
done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY did not answer in 15 s"

# Under AddressSanitizer the system's display libraries (libdbus, and the X libraries SDL loads
# and unloads itself) leave allocations that cannot be attributed; the program's own memory is
# checked for leaks by the headless tests, so leak detection is off for the real window.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The program reads its archives from the current directory, beside the executable. Xvfb has
# no graphics card: SDL's own software renderer presents there, rather than an emulated OpenGL
# that would compile its shaders on this machine's processor.
cd "$(dirname "$program")"
SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software "$program" >"$work/stdout" 2>"$work/stderr" &
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

# Give the program a few frames, then compare the screen with what it must show. A shot taken
# while a frame is being put on the screen can hold two frames, so a mismatch is retried.
sleep 1
matched=no
for _ in 1 2 3; do
    xwd -root -silent >"$work/shot.xwd" || fail "xwd could not take a screenshot"
    if "$frame_check" "$work/shot.xwd"; then
        matched=yes
        break
    fi
done
[ "$matched" = yes ] || fail "the screen does not show the program's frame"

xdotool windowfocus --sync "$window" 2>/dev/null || true
press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' || fail "Escape did not end the program"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status after Escape, expected 1; stderr: $(cat "$work/stderr")"
echo "depth $depth: dialog, window 640x400, frame exact, Escape ends with status 1"
