#!/usr/bin/env bash
# A game one move from its end, restored from the saved game: the last move
# by the mouse sets off the win, the bouncing cards, the statistics with the
# new best time and the game-over question. Screenshots of each, and the
# time the animation took, go to the artifacts.
# usage: test_win.sh PROGRAM
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
ARTIFACTS=${E2E_ARTIFACTS:-$E2E_DIR}

saved_game() {
    echo "[Options]"
    echo "ShowTips=0"
    echo "ShowNameBox=0"
    echo "AutoSave=1"
    echo "[TopTen]"
    echo "LastPlayer=Tester"
    echo "[AutoSave]"
    echo "GameSaved=1"
    echo "GameNumber=4711"
    echo "Score=48"
    echo "Time=100"
    echo "PC=0"
    local c f r
    for c in 1 2 3 4 5 6 7 8; do echo "TableauCounter$c=$([ $c -le 2 ] && echo 2 || echo 0)"; done
    local counts=(13 13 11 11)
    for f in 5 6 7 8; do echo "FoundationCounter$f=${counts[$((f - 5))]}"; done
    # Queen of hearts under the King of spades; Queen of spades under the
    # King of hearts.
    echo "Tableau_1_1=38"
    echo "Tableau_1_2=52"
    echo "Tableau_2_1=51"
    echo "Tableau_2_2=39"
    for f in 5 6 7 8; do
        for ((r = 1; r <= ${counts[$((f - 5))]}; r++)); do echo "Foundation_${f}_$r=$(((f - 5) * 13 + r))"; done
    done
}

e2e_setup
mkdir -p "$XDG_CONFIG_HOME/Vespintide" "$ARTIFACTS"
saved_game >"$XDG_CONFIG_HOME/Vespintide/Vespin.ini"
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
e2e_focus
e2e_wait_title '^Vespintide \(Game Number: 4711\) Score: 48'
sleep 0.3
e2e_screenshot "$ARTIFACTS/win-before.png"

# The table starts below the menu bar and the tool bar.
e2e_table_top "$ARTIFACTS/win-before.png"

# The King of hearts, row 2 of column 2, into the empty column 3.
start=$(date +%s%N)
e2e_drag $((85 + 20)) $((top + 112 + 16 + 8)) $((163 + 20)) $((top + 200))
sleep 0.4
e2e_screenshot "$ARTIFACTS/win-flying.png"
for ((i = 0; i < 600; i++)); do
    stats=$(xdotool search --onlyvisible --name '^Vespintide Statistics$' 2>/dev/null | head -n 1) || true
    [ -n "$stats" ] && break
    sleep 0.05
done
[ -n "$stats" ] || e2e_fail "no statistics after the win"
elapsed=$((($(date +%s%N) - start) / 1000000))
echo "the win animation took about $elapsed ms"
echo "$elapsed" >"$ARTIFACTS/win-animation-ms.txt"
sleep 0.3
import -window root "$ARTIFACTS/win-statistics.png"
WID=$stats
e2e_key Return

for ((i = 0; i < 100; i++)); do
    over=$(xdotool search --onlyvisible --name '^Game Over$' 2>/dev/null | head -n 1) || true
    [ -n "$over" ] && break
    sleep 0.05
done
[ -n "$over" ] || e2e_fail "no game-over question"
sleep 0.3
import -window root "$ARTIFACTS/win-game-over.png"
WID=$over
e2e_key Escape
sleep 0.3
import -window root "$ARTIFACTS/win-after.png"
kill "$APP_PID"
echo "PASS"
