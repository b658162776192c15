#!/usr/bin/env bash
# The real program under Xvfb without a window manager, never given the
# focus: the table is dealt all the same. Then, with Auto Save on, a move and
# SIGTERM, SIGHUP and SIGINT, also under an open dialog and in the middle of
# a drag: each ends the program with status 0 and leaves the position and
# the records in the file.
# usage: test_session_end.sh PROGRAM
source "$(dirname "$0")/harness.sh"
PROGRAM=$1

e2e_setup
e2e_quiet_start AutoSave=1

# No focus, no activation: the start-up runs once the table is painted.
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
MAIN=$WID
e2e_wait_title '^Vespintide \(Game Number' 10
sleep 0.3
e2e_screenshot "$E2E_DIR/unfocused.png"
e2e_table_top "$E2E_DIR/unfocused.png"
[ "$(e2e_pixel "$E2E_DIR/unfocused.png" $((12 + 35)) $((top + 112 + 40)))" != "0,128,0" ] \
    || e2e_fail "no card in column 1 of the window that never had the focus"
[ -n "${E2E_ARTIFACTS:-}" ] && mkdir -p "$E2E_ARTIFACTS" && cp "$E2E_DIR/unfocused.png" "$E2E_ARTIFACTS/session-unfocused.png"

e2e_select_game 1994
# The 10 of hearts from column 2 onto the Jack of hearts on column 8.
e2e_drag $((85 + 20)) $((top + 112 + 80 + 8)) $((553 + 20)) $((top + 112 + 96 + 16 + 8))
sleep 0.3

expect_saved() { # WHAT: the move is in the file, with the records
    grep -qx 'GameNumber=1994' "$INI" || e2e_fail "$1: the saved game is not game 1994"
    grep -qx 'Tableau_8_8=36' "$INI" || e2e_fail "$1: the saved game lacks the move: $(grep Tableau_8 "$INI" | tr '\n' ' ')"
    grep -qx 'TableauCounter8=8' "$INI" || e2e_fail "$1: column 8 was not saved with 8 cards"
    grep -q '^LeftPosition=' "$INI" || e2e_fail "$1: no window position in the file"
    grep -qx 'LastPlayer=Tester' "$INI" || e2e_fail "$1: the player's name is not in the file"
    grep -q '^GamesPlayed=' "$INI" || e2e_fail "$1: no statistics in the file"
}

end_with() { # SIGNAL WHAT
    kill -s "$1" "$APP_PID"
    e2e_wait_exit 15
    [ "$APP_STATUS" = 0 ] || e2e_fail "$2: the program ended with status $APP_STATUS"
    expect_saved "$2"
}

restart() {
    e2e_start "$PROGRAM"
    e2e_wait_window '^Vespintide \(Game Number: 1994\)'
    MAIN=$WID
}

end_with TERM "SIGTERM"

restart
end_with HUP "SIGHUP"

restart
e2e_key s
e2e_wait_window '^Vespintide Statistics$'
end_with INT "SIGINT under the Statistics dialog"

# In the middle of a drag of the Jack of hearts and the 10 on it: they go
# back, and the file holds them where they were.
restart
WID=$MAIN
xdotool mousemove --window "$WID" --sync $((553 + 20)) $((top + 112 + 96 + 8)) mousedown 1
for step in 1 2 3 4; do
    xdotool mousemove --window "$WID" --sync $((553 + 20 - step * 40)) $((top + 112 + 96 + 8 + step * 20))
done
end_with TERM "SIGTERM during a drag"
xdotool mouseup 1

echo "PASS"
