#!/usr/bin/env bash
# The installed program, started from another working directory, finds its
# card library, its sounds and its help in the prefix and nothing of the build
# tree: it deals, plays the shuffle through a real (null) audio output, shows
# its window icon and opens the help on F1.
# usage: test_installed.sh CMAKE BUILD_DIR XCLOSE
source "$(dirname "$0")/harness.sh"
CMAKE=$1
BUILD=$(realpath "$2")
XCLOSE=$3
ARTIFACTS=${E2E_ARTIFACTS:-}

e2e_setup
PULSE_PID=""
RECORD_PID=""
stop_audio() {
    local pid
    for pid in $RECORD_PID $PULSE_PID; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
# strace holds back the signal the harness ends the program with; ending the
# program it traces ends strace too.
stop_program() {
    [ -n "${APP_PID:-}" ] && pkill -TERM -P "$APP_PID" 2>/dev/null || true
}
trap 'stop_program; stop_audio; e2e_teardown' EXIT

prefix=$(realpath "$E2E_DIR")/prefix
"$CMAKE" --install "$BUILD" --prefix "$prefix" >"$E2E_DIR/install.log" 2>&1 \
    || e2e_fail "cmake --install failed: $(cat "$E2E_DIR/install.log")"

# A sound server of our own with one null sink, reached through the scratch
# XDG_RUNTIME_DIR, so that the program has an audio output whatever the
# machine has; its monitor records what the program played.
# It must neither find the desktop's session bus nor start one of its own.
unset PULSE_SERVER PULSE_RUNTIME_PATH PULSE_SINK
env -u DISPLAY DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_DIR/no-session-bus" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    -L "module-null-sink sink_name=vespin_null rate=44100 channels=2" \
    -L module-native-protocol-unix >"$E2E_DIR/pulse.log" 2>&1 &
PULSE_PID=$!
for ((i = 0; i < 100; i++)); do
    pactl info >/dev/null 2>&1 && break
    kill -0 "$PULSE_PID" 2>/dev/null || e2e_fail "pulseaudio ended: $(cat "$E2E_DIR/pulse.log")"
    sleep 0.1
done
pactl info >/dev/null 2>&1 || e2e_fail "pulseaudio did not answer: $(cat "$E2E_DIR/pulse.log")"
parec --latency-msec=50 -d vespin_null.monitor --raw --format=s16le --channels=1 --rate=22050 >"$E2E_DIR/heard.raw" 2>"$E2E_DIR/parec.log" &
RECORD_PID=$!
# The null sink holds sound back for over a second. A card that goes to a
# foundation right after the deal cuts the shuffle short, and its own short
# sound, stopped as soon as it has been handed over, was then lost on the way
# and nothing was heard; an audio device keeps a few tens of milliseconds.
export PULSE_LATENCY_MSEC=30

e2e_quiet_start
# strace names every file the program opened. The leak checker of a sanitizer
# build cannot run under a tracer, so it is off for this one run; the other
# end-to-end tests check the same executable for leaks.
cd /
e2e_start env "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq --seccomp-bpf -e trace=openat -e status=successful -o "$E2E_DIR/opened.trace" \
    "$prefix/bin/vespintide"
e2e_wait_window '^Vespintide' 30
e2e_focus
e2e_wait_title '^Vespintide \(Game Number: -?[0-9]+\)' 30
echo "caption: $(e2e_title)"
MAIN=$WID

opened() { grep -q "openat(.*\"$1\"" "$E2E_DIR/opened.trace"; }

# The deal shuffles with a sound; wait for its file to be read.
shuffle=$prefix/share/vespintide/Shuffle.wav
for ((i = 0; i < 100; i++)); do
    opened "$shuffle" && break
    sleep 0.1
done
opened "$shuffle" || e2e_fail "Shuffle.wav was not opened from $prefix/share/vespintide"
echo "opened $shuffle"
opened "$prefix/lib/vespintide/libVespin.so" || e2e_fail "the card library was not loaded from the prefix"
if grep -F "\"$BUILD/" "$E2E_DIR/opened.trace" >"$E2E_DIR/from-build.txt"; then
    e2e_fail "the installed program opened files of the build tree: $(cat "$E2E_DIR/from-build.txt")"
fi

# The shuffle really reached the audio output: the null sink's monitor heard
# more than silence.
loudest=0
for ((i = 0; i < 50; i++)); do
    sleep 0.1
    loudest=$(python3 -c '
import array, sys
data = open(sys.argv[1], "rb").read()
print(max(map(abs, array.array("h", data[: len(data) // 2 * 2])), default=0))' "$E2E_DIR/heard.raw")
    [ "$loudest" -gt 1000 ] && break
done
[ "$loudest" -gt 1000 ] || e2e_fail "the audio output heard nothing (peak $loudest); pulseaudio: $(cat "$E2E_DIR/pulse.log")"
echo "heard the shuffle: peak amplitude $loudest"
opened "$prefix/lib/vespintide/libVespinSound.so" || e2e_fail "the sound module was not loaded from the prefix"

xprop -id "$MAIN" _NET_WM_ICON >"$E2E_DIR/icon.txt"
grep -q 'Icon (16 x 16)' "$E2E_DIR/icon.txt" || e2e_fail "the window has no icon: $(head -n 1 "$E2E_DIR/icon.txt")"

table_shot=$E2E_DIR/installed-table.png
e2e_screenshot "$table_shot"

e2e_key F1
e2e_wait_window '^Vespintide Help$' 30
sleep 0.5
help_shot=$E2E_DIR/installed-help.png
e2e_screenshot "$help_shot"
opened "$prefix/share/vespintide/help/vespintide.qch" || e2e_fail "the help was not read from the prefix"
opened "$prefix/lib/vespintide/libVespinHelp.so" || e2e_fail "the help viewer was not loaded from the prefix"
if [ -n "$ARTIFACTS" ]; then
    mkdir -p "$ARTIFACTS"
    cp "$table_shot" "$help_shot" "$ARTIFACTS/"
fi

WID=$MAIN
e2e_close
e2e_wait_exit 30
[ "$APP_STATUS" = 0 ] || e2e_fail "the program ended with status $APP_STATUS"
echo "PASS"
