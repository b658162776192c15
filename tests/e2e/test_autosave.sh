#!/usr/bin/env bash
# With Auto Save on: a game chosen with Select Game, one move by the mouse,
# a close; the saved game is that position, and the next start shows it
# again, card for card.
# usage: test_autosave.sh PROGRAM XCLOSE
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
XCLOSE=$2

table_shot() { # FILE: the table area of the main window
    sleep 0.4
    e2e_screenshot "$E2E_DIR/whole.png"
    convert "$E2E_DIR/whole.png" -crop "632x330+0+$top" +repage "$1"
}

e2e_setup
e2e_quiet_start AutoSave=1
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
MAIN=$WID
e2e_focus
e2e_wait_title '^Vespintide \(Game Number'

e2e_select_game 1994

sleep 0.3
e2e_screenshot "$E2E_DIR/dealt.png"
e2e_table_top "$E2E_DIR/dealt.png"

# The 10 of hearts, on top of column 2 (row 6), onto the Jack of hearts on
# top of column 8 (row 7).
e2e_drag $((85 + 20)) $((top + 112 + 80 + 8)) $((553 + 20)) $((top + 112 + 96 + 16 + 8))
table_shot "$E2E_DIR/moved.png"
e2e_close
e2e_wait_exit
[ "$APP_STATUS" = 0 ] || e2e_fail "the program ended with status $APP_STATUS"

grep -qx 'GameNumber=1994' "$INI" || e2e_fail "the saved game is not game 1994"
grep -qx 'Tableau_8_8=36' "$INI" || e2e_fail "the saved game does not hold the move: $(grep Tableau_8 "$INI" | tr '\n' ' ')"
grep -qx 'TableauCounter8=8' "$INI" || e2e_fail "column 8 was not saved with 8 cards"

e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
e2e_focus
e2e_wait_title '^Vespintide \(Game Number: 1994\)'
table_shot "$E2E_DIR/restored.png"
differ=$(compare -metric AE "$E2E_DIR/moved.png" "$E2E_DIR/restored.png" null: 2>&1 || true)
[ "$differ" = "0" ] || e2e_fail "the restored table differs in $differ pixels"
[ -n "${E2E_ARTIFACTS:-}" ] && mkdir -p "$E2E_ARTIFACTS" && cp "$E2E_DIR/restored.png" "$E2E_ARTIFACTS/autosave-restored.png"
e2e_close
e2e_wait_exit
echo "PASS"
