#!/usr/bin/env bash
# The real program starts, deals a game on first activation, answers keys and
# the mouse, and ends when its window is closed.
# usage: test_start.sh PROGRAM XCLOSE
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
XCLOSE=$2
ARTIFACTS=${E2E_ARTIFACTS:-}

COLUMN_X=(7 85 163 241 319 397 475 553)
GREEN="0,128,0"

e2e_setup
e2e_quiet_start
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
# There is no window manager to activate the new window; focusing it does.
e2e_focus
e2e_wait_title '^Vespintide \(Game Number: -?[0-9]+\)'
title=$(e2e_title)
echo "caption: $title"

# The dealt table needs no image plugin and no SVG module: each would be
# loaded, and kept, at every start for nothing.
plugins=$(grep -E 'imageformats/|iconengines/|libQt6Svg' "/proc/$APP_PID/maps" | awk '{print $6}' | sort -u || true)
[ -z "$plugins" ] || e2e_fail "the start loaded: $plugins"

shot="$E2E_DIR/table.png"
sleep 0.5
e2e_screenshot "$shot"
[ -n "$ARTIFACTS" ] && mkdir -p "$ARTIFACTS" && cp "$shot" "$ARTIFACTS/table.png"

# The table is the first green row below the menu and tool bars.
top=""
for ((y = 0; y < 200; y++)); do
    if [ "$(e2e_pixel "$shot" 3 "$y")" = "$GREEN" ]; then top=$y; break; fi
done
[ -n "$top" ] || e2e_fail "no green table in the screenshot"
echo "table starts at y=$top"

for c in 0 1 2 3 4 5 6 7; do
    x=${COLUMN_X[$c]}
    card=$(e2e_pixel "$shot" $((x + 35)) $((top + 112 + 60)))
    gap=$(e2e_pixel "$shot" $((x + 74)) $((top + 112 + 60)))
    above=$(e2e_pixel "$shot" $((x + 35)) $((top + 110)))
    [ "$card" != "$GREEN" ] || e2e_fail "no card in column $((c + 1))"
    [ "$gap" = "$GREEN" ] || e2e_fail "column $((c + 1)) is wider than a card"
    [ "$above" = "$GREEN" ] || e2e_fail "column $((c + 1)) starts above its first row"
done

# Refresh Screen redraws the same picture.
e2e_key F12
sleep 0.5
e2e_screenshot "$E2E_DIR/refreshed.png"
# Only the table: the clock on the status bar may have moved on meanwhile.
table_area="632x300+0+$top"
convert "$shot" -crop "$table_area" +repage "$E2E_DIR/before-table.png"
convert "$E2E_DIR/refreshed.png" -crop "$table_area" +repage "$E2E_DIR/after-table.png"
differ=$(compare -metric AE "$E2E_DIR/before-table.png" "$E2E_DIR/after-table.png" null: 2>&1 || true)
[ "$differ" = "0" ] || e2e_fail "Refresh Screen changed $differ pixels"

# A click on the table changes nothing either.
e2e_click 600 400
[ "$(e2e_title)" = "$title" ] || e2e_fail "a click changed the caption"

# New Game deals another game.
sleep 0.2
e2e_key F2
for ((i = 0; i < 50; i++)); do
    [ "$(e2e_title)" != "$title" ] && break
    sleep 0.1
done
[ "$(e2e_title)" != "$title" ] || e2e_fail "F2 dealt no new game"
echo "after F2: $(e2e_title)"

e2e_close
e2e_wait_exit
[ "$APP_STATUS" = 0 ] || e2e_fail "the program ended with status $APP_STATUS"
echo "PASS"
