# End-to-end harness: the real program under Xvfb, with a scratch home.
# Source it, then call e2e_setup; everything is torn down at exit.
#
#   e2e_setup                      Xvfb on a free display, scratch HOME and XDG_CONFIG_HOME
#   e2e_quiet_start [KEY=VALUE...] a settings file that asks nothing at start (no tip, a known
#                                  player), with more [Options] keys; sets INI to its path
#   e2e_start PROGRAM [ARGS]       start the program, output to $E2E_DIR/app.log
#   e2e_wait_window PATTERN [SEC]  wait for a window whose title matches; sets WID
#   e2e_wait_title PATTERN [SEC]   wait until $WID's title matches
#   e2e_title                      the title of $WID
#   e2e_focus                      give $WID the input focus, as a window manager would
#   e2e_key KEY...                 keys to $WID (xdotool key names: F2, Return, ctrl+z)
#   e2e_click X Y [BUTTON]         click at a point of $WID's client area
#   e2e_drag X1 Y1 X2 Y2           left-button drag in steps
#   e2e_screenshot FILE            PNG of $WID
#   e2e_pixel FILE X Y             "r,g,b" of a pixel of a PNG
#   e2e_select_game NUMBER         deal a game by F3 in the main window $MAIN; $WID is $MAIN after
#   e2e_table_top FILE             sets top: the first row of the green table in a screenshot
#   e2e_close                      ask $WID to close, as a window manager would
#   e2e_wait_exit [SEC]            wait for the program to end; sets APP_STATUS
#   e2e_files                      every file the program could have written

set -euo pipefail

E2E_SCREEN=${E2E_SCREEN:-1024x768x24}
E2E_KEEP=${E2E_KEEP:-}
XCLOSE=${XCLOSE:-xclose}

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_DIR:-}" ] && [ -s "$E2E_DIR/app.log" ]; then
        echo "--- program output ---" >&2
        cat "$E2E_DIR/app.log" >&2
    fi
    exit 1
}

e2e_teardown() {
    if [ -n "${APP_PID:-}" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "${E2E_DIR:-}" ]; then
        if [ -n "$E2E_KEEP" ]; then echo "kept $E2E_DIR" >&2; else rm -rf "$E2E_DIR"; fi
    fi
}

e2e_setup() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vespintide-e2e.XXXXXX")
    trap e2e_teardown EXIT
    mkdir -p "$E2E_DIR/home" "$E2E_DIR/config" "$E2E_DIR/runtime"
    chmod 700 "$E2E_DIR/runtime"
    export HOME="$E2E_DIR/home" XDG_CONFIG_HOME="$E2E_DIR/config" XDG_RUNTIME_DIR="$E2E_DIR/runtime"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb

    # Xvfb picks a free display and writes its number to the pipe. Two
    # servers starting at the same moment can pick the same number, and the
    # loser then goes away: check that ours answers, else start another.
    # Without -noreset the server starts itself over each time its last
    # client goes, and a program started right after the last one ended
    # can find no server to connect to.
    local attempt display=""
    for attempt in 1 2 3 4 5; do
        exec {fd}<> <(:)
        Xvfb -displayfd "$fd" -screen 0 "$E2E_SCREEN" -nolisten tcp -noreset >"$E2E_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        display=""
        read -r -t 20 display <&"$fd" || display=""
        exec {fd}<&-
        if [ -n "$display" ] && kill -0 "$XVFB_PID" 2>/dev/null \
            && DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1; then
            export DISPLAY=":$display"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
        sleep 0.$((RANDOM % 5 + 1))
    done
    e2e_fail "Xvfb did not start: $(cat "$E2E_DIR/xvfb.log")"
}

e2e_quiet_start() { # [OPTION=VALUE...]: more [Options] keys; sets INI
    INI="$XDG_CONFIG_HOME/Vespintide/Vespin.ini"
    mkdir -p "$XDG_CONFIG_HOME/Vespintide"
    { printf '[Options]\nShowTips=0\nShowNameBox=0\n'; printf '%s\n' "$@"; printf '[TopTen]\nLastPlayer=Tester\n'; } >"$INI"
}

e2e_start() {
    "$@" >"$E2E_DIR/app.log" 2>&1 &
    APP_PID=$!
}

e2e_wait_window() {
    local pattern=$1 seconds=${2:-20} i
    WID=""
    for ((i = 0; i < seconds * 10; i++)); do
        WID=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1) || true
        [ -n "$WID" ] && return 0
        kill -0 "$APP_PID" 2>/dev/null || e2e_fail "the program ended while waiting for \"$pattern\""
        sleep 0.1
    done
    e2e_fail "no window titled \"$pattern\" within $seconds s"
}

e2e_title() {
    xdotool getwindowname "$WID"
}

e2e_wait_title() {
    local pattern=$1 seconds=${2:-20} i
    for ((i = 0; i < seconds * 10; i++)); do
        [[ "$(e2e_title)" =~ $pattern ]] && return 0
        sleep 0.1
    done
    e2e_fail "the title stayed \"$(e2e_title)\", not \"$pattern\""
}

e2e_focus() {
    xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
}

e2e_key() {
    e2e_focus
    xdotool key --clearmodifiers "$@"
}

e2e_click() {
    xdotool mousemove --window "$WID" --sync "$1" "$2" click "${3:-1}"
}

e2e_drag() {
    local x1=$1 y1=$2 x2=$3 y2=$4 i steps=8
    xdotool mousemove --window "$WID" --sync "$x1" "$y1" mousedown 1
    for ((i = 1; i <= steps; i++)); do
        xdotool mousemove --window "$WID" --sync $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
    done
    xdotool mouseup 1
}

e2e_screenshot() {
    import -window "$WID" "$1"
}

e2e_pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

e2e_select_game() {
    WID=$MAIN
    e2e_key F3
    e2e_wait_window '^Select Game$'
    xdotool type --delay 50 "$1"
    xdotool key Return
    WID=$MAIN
    e2e_wait_title "^Vespintide \\(Game Number: $1\\)"
}

e2e_table_top() {
    local y
    top=""
    for ((y = 0; y < 200; y++)); do
        if [ "$(e2e_pixel "$1" 3 "$y")" = "0,128,0" ]; then top=$y; return 0; fi
    done
    e2e_fail "no table in the screenshot $1"
}

e2e_close() {
    "$XCLOSE" "$WID"
}

e2e_wait_exit() {
    local seconds=${1:-20} i
    for ((i = 0; i < seconds * 10; i++)); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            APP_STATUS=0
            wait "$APP_PID" || APP_STATUS=$?
            APP_PID=""
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "the program did not end within $seconds s"
}

e2e_files() {
    (cd "$E2E_DIR" && find home config -type f | sort)
}
