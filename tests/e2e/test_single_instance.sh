#!/usr/bin/env bash
# One copy per user: a second copy brings the first to the front and ends,
# writing nothing; a copy killed outright does not block the next start;
# two copies started together leave one running.
# usage: test_single_instance.sh PROGRAM
source "$(dirname "$0")/harness.sh"
PROGRAM=$1

count_running() {
    local n=0 pid
    for pid in "$@"; do kill -0 "$pid" 2>/dev/null && n=$((n + 1)); done
    echo "$n"
}

e2e_setup
e2e_quiet_start
e2e_start "$PROGRAM"
FIRST=$APP_PID
e2e_wait_window '^Vespintide'
e2e_focus
e2e_wait_title '^Vespintide \(Game Number'
FIRST_WID=$WID
checksums() { (cd "$E2E_DIR" && e2e_files | xargs -r md5sum); }
before=$(checksums)

# Take the focus away, so that getting it back shows the first copy came
# to the front.
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
start=$(date +%s%N)
"$PROGRAM" >"$E2E_DIR/second.log" 2>&1 && status=0 || status=$?
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$status" = 0 ] || e2e_fail "the second copy ended with status $status"
[ "$elapsed" -lt 1000 ] || e2e_fail "the second copy took $elapsed ms to end"
after=$(checksums)
[ "$before" = "$after" ] || e2e_fail "the second copy changed files"
for ((i = 0; i < 20; i++)); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$FIRST_WID" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$FIRST_WID" ] || e2e_fail "the first copy did not come to the front"
kill -0 "$FIRST" || e2e_fail "the first copy ended"
echo "second copy ended in $elapsed ms; the first has the focus"

# Killed without a chance to clean up, the first copy leaves its lock and
# socket behind; the next copy must start all the same.
kill -KILL "$FIRST"
wait "$FIRST" 2>/dev/null || true
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
e2e_focus
e2e_wait_title '^Vespintide \(Game Number'
echo "a new copy started after SIGKILL"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true

# Two at the same moment.
"$PROGRAM" >"$E2E_DIR/a.log" 2>&1 &
A=$!
"$PROGRAM" >"$E2E_DIR/b.log" 2>&1 &
B=$!
sleep 3
running=$(count_running "$A" "$B")
windows=$(xdotool search --onlyvisible --name '^Vespintide' 2>/dev/null | wc -l)
kill -KILL "$A" "$B" 2>/dev/null || true
wait "$A" "$B" 2>/dev/null || true
[ "$running" = 1 ] || e2e_fail "$running copies run after starting two at once"
[ "$windows" = 1 ] || e2e_fail "$windows windows after starting two at once"
echo "PASS"
