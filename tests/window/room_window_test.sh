#!/usr/bin/env bash
# The room in a real window on a 640x400 Xvfb screen, in direct mode, with SDL's disk audio
# driver writing what the program plays to a file: two clicks walk the actor right until the
# guitar is in view, a click on it sends the actor there to pick it up, after which the first
# track is heard from its beginning and the player panel slides in; its eject button ends the
# room, the end picture fades in, and Enter on it ends the program with exit status 1 (the room itself
# ignores keys). The times come from the room's 75 ms tick: 66 ticks for the first walk, 29
# for the second, which scrolls the view to 232, and 36 to the guitar's walk point.
# Usage: room_window_test.sh PROGRAM FRAME_CHECK SOUND_CHECK
set -euo pipefail
program=$1 frame_check=$2 sound_check=$3
source "$(dirname "$0")/xvfb_session.sh"

# A left click at a frame point; the frame fills the 640x400 window twice enlarged.
click_frame() {
    xdotool mousemove --window "$window" $((2 * $1 + 1)) $((2 * $2 + 1)) click 1
}

start_xvfb 640x400x24
start_program "$program" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
open_main_window
xdotool windowfocus --sync "$window" 2>/dev/null || true

soon_shows boot || fail "the boot screen did not appear: $(cat "$work/frame-check.log")"
press_until space 'soon_shows cracktro' || fail "Space did not lead to the cracktro"
press_until space 'soon_shows trainer' || fail "Space did not lead to the trainer screen"
press_until n 'trainer_soon_gone' || fail "N did not leave the trainer screen"

click_frame 317 150 # to room x 316
sleep 5.6
click_frame 317 150 # to room x 430
sleep 2.8
click_frame 290 100 # the guitar, at frame x 282 to 302
sleep 4
soon_shows panel || fail "the player panel did not slide in: $(cat "$work/frame-check.log")"
"$sound_check" "$audio" 01_Laser_Orchard.ogg >"$work/sound-check.log" ||
    fail "track 0 is not heard: $(cat "$work/sound-check.log")"

click_frame 66 158 # eject
# 89 ticks of closing animation and fade, then the end screen's 31 ticks of fade-in.
sleep 9.5
soon_shows end || fail "the eject did not lead to the end picture: $(cat "$work/frame-check.log")"
press_until Return 'timeout 2 tail --pid="$app_pid" -f /dev/null' ||
    fail "Enter did not end the program after the eject"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status, expected 1; stderr: $(cat "$work/stderr")"
echo "walked right, took the guitar, heard track 0 ($(cat "$work/sound-check.log")), saw the panel, ejected, saw the end picture and left from it"
