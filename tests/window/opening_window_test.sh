#!/usr/bin/env bash
# The opening in a real window on a 640x400 Xvfb screen, with SDL's disk audio driver writing
# everything the program plays to a file: the boot screen appears in silence, Space leads to
# the cracktro, whose module is heard, Space to the trainer screen, where the music has
# stopped, and N to the room, whose ambient module is heard. Escape then ends the program
# with exit status 1.
# Usage: opening_window_test.sh PROGRAM FRAME_CHECK
set -euo pipefail
program=$1 frame_check=$2
source "$(dirname "$0")/xvfb_session.sh"

start_xvfb 640x400x24
start_program "$program" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
open_main_window
xdotool windowfocus --sync "$window" 2>/dev/null || true

soon_shows boot || fail "the boot screen did not appear: $(cat "$work/frame-check.log")"
wait_for_audio 0 $((bytes_per_second / 2))
boot_end=$(audio_bytes)
[ "$(loudest_sample 0 "$boot_end")" = 0 ] || fail "the boot screen is not silent"

press_until space 'soon_shows cracktro' ||
    fail "Space did not lead to the cracktro: $(cat "$work/frame-check.log")"
wait_for_audio "$boot_end" "$bytes_per_second"
loudest=$(loudest_sample "$boot_end" "$bytes_per_second")
[ "$loudest" -gt 1000 ] || fail "the cracktro's module is not heard (loudest sample $loudest)"

press_until space 'soon_shows trainer' ||
    fail "Space did not lead to the trainer screen: $(cat "$work/frame-check.log")"
# What the device had mixed before the key may still follow: 0.1 s are left out.
trainer_start=$(($(audio_bytes) + bytes_per_second / 10))
wait_for_audio "$trainer_start" $((bytes_per_second / 2))
loudest=$(loudest_sample "$trainer_start" $((bytes_per_second / 2)))
[ "$loudest" = 0 ] || fail "the cracktro's music plays on on the trainer screen ($loudest)"

press_until n 'trainer_soon_gone' || fail "N did not leave the trainer screen"
room_start=$(audio_bytes)
wait_for_audio "$room_start" "$bytes_per_second"
loudest=$(loudest_sample "$room_start" "$bytes_per_second")
[ "$loudest" -gt 1000 ] || fail "the room's ambient module is not heard (loudest sample $loudest)"

press_until Escape 'timeout 2 tail --pid="$app_pid" -f /dev/null' || fail "Escape did not end the program"
wait_for_exit "the program did not end"
[ "$status" = 1 ] || fail "exit status $status after Escape, expected 1; stderr: $(cat "$work/stderr")"
echo "boot screen silent, cracktro heard (Space), trainer silent (Space), room's module heard (N)"
