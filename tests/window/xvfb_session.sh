# Sourced by the real-window tests: a private Xvfb display, the program started on it beside
# its archives, and the helpers that drive it with xdotool and check its screen with
# frame-check. Sets `work` (a scratch folder, removed at exit with everything started here);
# start_xvfb sets DISPLAY, start_program sets app_pid, open_main_window sets window.
# The sourcing script sets `frame_check` before it calls screen_shows. A program started with
# SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" writes its sound to `audio`, which the
# audio helpers read.

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

# An X server in memory of the given geometry, WIDTHxHEIGHTxDEPTH, on a display of its own.
start_xvfb() {
    # The display number is claimed with an atomic mkdir, so that tests running side by side
    # (whose X servers could otherwise race for the same free number) never share a server. A
    # claim whose test is no longer running is taken over.
    local number claim
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
    Xvfb "$DISPLAY" -screen 0 "$1" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 300); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb on $DISPLAY ended: $(cat "$work/xvfb.log")"
        sleep 0.05
    done
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY did not answer in 15 s"
}

# Starts PROGRAM with the environment given as NAME=VALUE arguments after it, its output in
# $work/stdout and $work/stderr. The program reads its archives from the current directory,
# so the script moves to the program's folder first, where frame-check finds them too.
start_program() {
    local program=$1
    shift
    cd "$(dirname "$program")"
    # Under AddressSanitizer the system's display libraries (libdbus, and the X libraries SDL
    # loads and unloads itself) leave allocations that cannot be attributed; the program's own
    # memory is checked for leaks by the headless tests, so leak detection is off here.
    # Xvfb has no graphics card: SDL's own software renderer presents there, rather than an
    # emulated OpenGL that would compile its shaders on this machine's processor.
    env ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SDL_RENDER_DRIVER=software \
        "$@" "$program" >"$work/stdout" 2>"$work/stderr" &
    app_pid=$!
}

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

# The setup dialog appears and Enter runs it with the desktop's size, until the main window
# shows; its id is then in `window`.
open_main_window() {
    local dialog
    dialog=$(find_window "^zap 'em good\$") ||
        fail "no setup dialog appeared; stderr: $(cat "$work/stderr")"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    press_until Return 'window=$(find_window "^rkWindow\$" 2)' ||
        fail "no window named rkWindow appeared after Enter; stderr: $(cat "$work/stderr")"
}

# Whether a screenshot shows the named screen as frame-check knows it (boot, cracktro or
# trainer). A shot taken while a frame is being put on the screen can hold two frames, so a
# mismatch is tried again twice.
screen_shows() {
    for _ in 1 2 3; do
        xwd -root -silent >"$work/shot.xwd" || fail "xwd could not take a screenshot"
        if "$frame_check" "$work/shot.xwd" "$1" >"$work/frame-check.log"; then
            return 0
        fi
    done
    return 1
}

# The program opens its device as 16-bit stereo at 44,100 Hz, and SDL's disk driver writes
# the device's samples as they are, little-endian, at the pace of a sound card.
audio="$work/audio.raw"
bytes_per_second=$((44100 * 2 * 2))

audio_bytes() {
    stat -c %s "$audio" 2>/dev/null || echo 0
}
# Waits until the file holds `count` more bytes than `from` (at most 10 s).
wait_for_audio() {
    local from=$1 count=$2
    for _ in $(seq 200); do
        [ "$(audio_bytes)" -ge $((from + count)) ] && return 0
        sleep 0.05
    done
    fail "the audio file stopped growing at $(audio_bytes) bytes"
}
# The loudest sample among `count` bytes of the file from byte `from` on.
loudest_sample() {
    od -A n -v -t d2 -j "$1" -N "$2" "$audio" |
        awk '{ for (i = 1; i <= NF; ++i) { v = $i < 0 ? -$i : $i; if (v > m) m = v } }
             END { print m + 0 }'
}
# Whether the screen shows the named screen within 5 s.
soon_shows() {
    for _ in $(seq 10); do
        screen_shows "$1" && return 0
        sleep 0.5
    done
    return 1
}
# Whether the trainer screen is gone within 5 s: two shots in a row that are not its frame.
trainer_soon_gone() {
    for _ in $(seq 10); do
        if ! screen_shows trainer && ! screen_shows trainer; then
            return 0
        fi
        sleep 0.5
    done
    return 1
}
