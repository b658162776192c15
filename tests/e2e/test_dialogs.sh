#!/usr/bin/env bash
# The dialogs of a start with tips on, as a player meets them: the tip of
# the day (stepped once), the About box, the help window on F1, the
# Preferences pages and help from the Statistics dialog. Each is kept as a
# screenshot; the tip shown last is remembered for the next start.
# usage: test_dialogs.sh PROGRAM XCLOSE
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
XCLOSE=$2
ARTIFACTS=${E2E_ARTIFACTS:-}

keep() { # NAME: the whole screen, kept among the artifacts
    sleep 0.6
    import -window root "$E2E_DIR/$1.png"
    if [ -n "$ARTIFACTS" ]; then mkdir -p "$ARTIFACTS/dialogs" && cp "$E2E_DIR/$1.png" "$ARTIFACTS/dialogs/"; fi
}

e2e_setup
INI="$XDG_CONFIG_HOME/Vespintide/Vespin.ini"
mkdir -p "$(dirname "$INI")"
printf '[Options]\nShowTips=1\nTipNumber=0\nShowNameBox=0\n[TopTen]\nLastPlayer=Tester\n' >"$INI"
e2e_start "$PROGRAM"
e2e_wait_window '^Vespintide'
MAIN=$WID
e2e_focus

# The tip comes with the first activation: line 1, then Next Tip to line 2.
e2e_wait_window '^Tip of the day$'
e2e_focus
keep tip
xdotool key --clearmodifiers Tab space
keep tip-next
xdotool key --clearmodifiers Escape
WID=$MAIN
e2e_wait_title '^Vespintide \(Game Number'
grep -qx 'TipNumber=2' "$INI" || e2e_fail "the tip shown last was not stored: $(cat "$INI")"
grep -qx 'ShowTips=1' "$INI" || e2e_fail "Show Tips was not kept"

# Help, About.
e2e_key alt+h
sleep 0.4
xdotool key --clearmodifiers a
e2e_wait_window '^About Vespintide$'
e2e_focus
keep about
xdotool key --clearmodifiers Return
WID=$MAIN

e2e_key F1
e2e_wait_window '^Vespintide Help$'
e2e_focus
keep help
HELP=$WID
WID=$MAIN

# Preferences, page by page.
e2e_key p
e2e_wait_window '^Vespintide Preferences$'
e2e_focus
# Ctrl+Tab turns the pages from the focused OK button; each page differs.
for page in general advanced background cardback; do
    keep "preferences-$page"
    import -window "$WID" "$E2E_DIR/page-$page.png"
    xdotool key --clearmodifiers ctrl+Tab
done
pages=$(for page in general advanced background cardback; do md5sum <"$E2E_DIR/page-$page.png"; done | sort -u | wc -l)
[ "$pages" = 4 ] || e2e_fail "Ctrl+Tab showed $pages different pages, not 4"
xdotool key --clearmodifiers Escape
WID=$MAIN

# Help from a dialog's Help button answers while the dialog waits; the main
# window stays blocked behind the dialog.
"$XCLOSE" "$HELP"
e2e_key s
e2e_wait_window '^Vespintide Statistics$'
e2e_focus
STATISTICS=$WID
xdotool key --clearmodifiers alt+h
e2e_wait_window '^Vespintide Help$'
HELP=$WID
"$XCLOSE" "$HELP"
for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name '^Vespintide Help$' 2>/dev/null | grep -qx "$HELP" || break
    sleep 0.1
done
((i < 50)) || e2e_fail "the help window opened from the Statistics dialog could not be closed while the dialog waited"
WID=$MAIN
e2e_key t
sleep 1
xdotool search --onlyvisible --name '^Vespintide Hall of Fame$' >/dev/null 2>&1 &&
    e2e_fail "the main window took a key while the Statistics dialog waited"
xdotool search --onlyvisible --name '^Vespintide Statistics$' 2>/dev/null | grep -qx "$STATISTICS" ||
    e2e_fail "the Statistics dialog went away"
WID=$STATISTICS
e2e_key Escape
WID=$MAIN

e2e_close
e2e_wait_exit
[ "$APP_STATUS" = 0 ] || e2e_fail "the program ended with status $APP_STATUS"
# The help window went with the main window.
xdotool search --onlyvisible --name '^Vespintide Help$' >/dev/null 2>&1 && e2e_fail "the help window stayed open"
echo "ok: tip, About, help, Preferences and help from Statistics shown and closed"
