#!/usr/bin/env bash
# The whole story in a real window on a 640x400 Xvfb screen, in direct mode, with SDL's disk
# audio driver writing everything the program plays to a file: Enter in the setup dialog, the
# boot screen, Space, the cracktro, Space, the trainer screen, N, the room, where clicks climb
# the stairs, walk along the gallery and take the guitar, after which the first track is heard
# from its beginning; the panel's eject leads to the end picture, and Space on it ends the
# program with exit status 1. The clicks and the time each move takes come from story-points,
# a headless run of the same story. (Cancel in the dialog is window_test.sh's.)
# Usage: whole_story_window_test.sh PROGRAM FRAME_CHECK SOUND_CHECK STORY_POINTS
set -euo pipefail
program=$1 frame_check=$2 sound_check=$3 story_points=$4
source "$(dirname "$0")/xvfb_session.sh"

points=$(cd "$(dirname "$program")" && "$story_points") || fail "story-points found no story"

# Waits (at most 10 s) until the screen stands still: two shots 0.3 s apart the same. Until
# the guitar is taken nothing in the room moves but the actor and the view.
screen_settles() {
    xwd -root -silent >"$work/before.xwd"
    for _ in $(seq 30); do
        sleep 0.3
        xwd -root -silent >"$work/after.xwd"
        cmp -s "$work/before.xwd" "$work/after.xwd" && return 0
        mv "$work/after.xwd" "$work/before.xwd"
    done
    return 1
}

start_xvfb 640x400x24
start_program "$program" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
open_main_window
xdotool windowfocus --sync "$window" 2>/dev/null || true

soon_shows boot || fail "the boot screen did not appear: $(cat "$work/frame-check.log")"
press_until space 'soon_shows cracktro' ||
    fail "Space did not lead to the cracktro: $(cat "$work/frame-check.log")"
press_until space 'soon_shows trainer' ||
    fail "Space did not lead to the trainer screen: $(cat "$work/frame-check.log")"
press_until n 'trainer_soon_gone' || fail "N did not leave the trainer screen"

# Each click, then the time the headless run needed for its move; before the pick-up, until
# the room stands still too.
while read -r name x y ms; do
    xdotool mousemove --window "$window" "$x" "$y" click 1
    sleep "$(awk -v ms="$ms" 'BEGIN { print ms / 1000 }')"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the click on $name"
    case "$name" in
    stairs | walk) screen_settles || fail "the room did not come to rest after the $name" ;;
    guitar)
        soon_shows panel || fail "the player panel did not slide in: $(cat "$work/frame-check.log")"
        "$sound_check" "$audio" 01_Laser_Orchard.ogg >"$work/sound-check.log" ||
            fail "track 0 is not heard after the pick-up: $(cat "$work/sound-check.log")"
        ;;
    esac
done <<<"$points"

soon_shows end || fail "the eject did not lead to the end picture: $(cat "$work/frame-check.log")"
press_until space 'timeout 2 tail --pid="$app_pid" -f /dev/null' ||
    fail "Space on the end picture did not end the program"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status at the end, expected 1; stderr: $(cat "$work/stderr")"
echo "dialog, boot, cracktro, trainer, stairs, gallery, track 0 after the pick-up, end picture, exit status 1"
