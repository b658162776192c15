#!/usr/bin/env bash
# The real program under a real window manager (openbox) on Xvfb: the
# start-up runs at the activation it gives; tooltips come after 400 ms, the
# next button's at once while one shows; the tool bar dragged off its dock
# floats in a frame with its caption and a close button, which hides it as
# View > Toolbar does; SIGTERM then ends the program with status 0.
# usage: test_window_manager.sh PROGRAM XCLOSE
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
XCLOSE=$2

now_ms() { date +%s%3N; }

e2e_setup
openbox --sm-disable >"$E2E_DIR/wm.log" 2>&1 &
WM_PID=$!
for ((i = 0; i < 100; i++)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || e2e_fail "openbox did not start"
trap 'kill "$WM_PID" 2>/dev/null || true; e2e_teardown' EXIT

e2e_quiet_start
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
MAIN=$WID
e2e_wait_title '^Vespintide \(Game Number' 10
sleep 0.5

# The program's windows but the main one: here, the tooltip.
tooltip() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        [ "$w" = "$MAIN" ] || xdotool getwindowgeometry "$w" | sed -n 's/^ *Position: \([0-9]*\),.*/\1/p'
    done | head -n 1
}
# Milliseconds from now until a tooltip shows at another x than $1.
wait_tooltip() {
    local start=$(now_ms) x
    while :; do
        x=$(tooltip)
        if [ -n "$x" ] && [ "$x" != "$1" ]; then
            TIP_X=$x
            TIP_MS=$(($(now_ms) - start))
            return 0
        fi
        [ $(($(now_ms) - start)) -lt 3000 ] || e2e_fail "no tooltip within 3 s"
        sleep 0.01
    done
}
# The tool bar's buttons are 22 pixels apart, the first at x = 0.
toolbar_y=32 # the middle of the tool bar, under the menu bar
xdotool mousemove --window "$MAIN" --sync 11 "$toolbar_y"
wait_tooltip ""
first=$TIP_MS
import -window root "$E2E_DIR/tooltip-first.png"
xdotool mousemove --window "$MAIN" --sync 33 "$toolbar_y"
wait_tooltip "$TIP_X"
next=$TIP_MS
import -window root "$E2E_DIR/tooltip-next.png"
echo "tooltips: the first after $first ms, the next after $next ms"
[ "$first" -ge 350 ] || e2e_fail "the first tooltip came after $first ms, before 400 ms"
[ "$next" -lt 300 ] || e2e_fail "the next button's tooltip waited $next ms while one showed"
xdotool mousemove --window "$MAIN" --sync 300 300
sleep 0.3

# The handle at the tool bar's left end, dragged onto the table.
xdotool mousemove --window "$MAIN" --sync 4 "$toolbar_y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --window "$MAIN" --sync $((4 + step * 20)) $((toolbar_y + step * 35))
    sleep 0.05
done
xdotool mouseup 1
toolbar=""
for ((i = 0; i < 50; i++)); do
    toolbar=$(xdotool search --onlyvisible --name '^Vespintide Toolbar$' 2>/dev/null | head -n 1) || true
    [ -n "$toolbar" ] && break
    sleep 0.1
done
[ -n "$toolbar" ] || e2e_fail "the tool bar did not float"
for ((i = 0; i < 50; i++)); do
    extents=$(xprop -id "$toolbar" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    [ -n "$extents" ] && [ "$(echo "$extents" | cut -d, -f3 | tr -d ' ')" -gt 0 ] && break
    sleep 0.1
done
top_extent=$(echo "$extents" | cut -d, -f3 | tr -d ' ')
[ -n "$top_extent" ] && [ "$top_extent" -gt 0 ] || e2e_fail "the floating tool bar has no title bar: frame extents \"$extents\""
sleep 0.3
import -window root "$E2E_DIR/floating.png"
if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS"
    cp "$E2E_DIR/floating.png" "$E2E_ARTIFACTS/wm-floating-toolbar.png"
    cp "$E2E_DIR/tooltip-next.png" "$E2E_ARTIFACTS/wm-tooltip-next.png"
fi

# Its close button: hidden, View > Toolbar off, stored at once.
"$XCLOSE" "$toolbar"
for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name '^Vespintide Toolbar$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Vespintide Toolbar$' >/dev/null 2>&1 && e2e_fail "the close button left the tool bar"
kill -0 "$APP_PID" || e2e_fail "the tool bar's close button ended the program"
grep -qx 'ToolBar=0' "$INI" || e2e_fail "the hidden tool bar was not stored: $(grep -i toolbar "$INI")"

kill -TERM "$APP_PID"
e2e_wait_exit 15
[ "$APP_STATUS" = 0 ] || e2e_fail "SIGTERM ended the program with status $APP_STATUS"
grep -qx 'LastPlayer=Tester' "$INI" || e2e_fail "SIGTERM did not write the close's records"
echo "PASS"
