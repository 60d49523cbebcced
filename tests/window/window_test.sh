#!/usr/bin/env bash
# Starts the program on a 640x400 Xvfb screen of the given depth. With "run": Enter in the setup
# dialog takes the desktop's size, the window must be 640x400, a screenshot must show exactly
# the frame the program drew, and Escape must end it with exit status 1. With "cancel": Escape
# in the dialog must end it with status 0 before any main window opens.
# Usage: window_test.sh PROGRAM FRAME_CHECK DEPTH run|cancel
set -euo pipefail
program=$1 frame_check=$2 depth=$3 mode=$4
source "$(dirname "$0")/xvfb_session.sh"

start_xvfb "640x400x$depth"
start_program "$program" SDL_AUDIODRIVER=dummy

if [ "$mode" = cancel ]; then
    dialog=$(find_window "^zap 'em good\$") ||
        fail "no setup dialog appeared; stderr: $(cat "$work/stderr")"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' ||
        fail "Escape in the dialog did not end the program"
    wait_for_exit "the program did not end"
    [ "$status" = 0 ] || fail "exit status $status after Cancel, expected 0"
    ! xdotool search --name '^rkWindow$' >/dev/null 2>&1 || fail "a main window opened after Cancel"
    echo "depth $depth: Escape in the setup dialog ends the program with status 0"
    exit 0
fi
open_main_window
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, not 640x400"

# Give the program a few frames, then compare the screen with what it must show.
sleep 1
screen_shows boot || fail "the screen does not show the program's frame: $(cat "$work/frame-check.log")"

xdotool windowfocus --sync "$window" 2>/dev/null || true
press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' || fail "Escape did not end the program"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status after Escape, expected 1; stderr: $(cat "$work/stderr")"
echo "depth $depth: dialog, window 640x400, frame exact, Escape ends with status 1"
