#!/usr/bin/env bash
# A long run of the real program played at random, with Auto Save on: mouse
# drags of cards and blocks between columns (some aimed at moves the game
# takes), clicks, right-button peeks, the shortcut keys and the menu bar's
# commands; every dialog that comes up is answered at random and the help
# window closed again. The resident memory is sampled meanwhile, whole and
# split into private and file-backed pages. At the end the program must
# close cleanly, without a sanitizer report, leaving a settings file that
# parses and keeps Auto Save, and its private memory must not have grown
# after the warm-up beyond noise.
#
# The run begins with every command once, among the mouse play; SECONDS
# (default 600) of random play follow. The random choices come from one
# seed, printed at the start; SOAK_SEED=N replays a run as far as the
# program's timing allows. SOAK_SAMPLE_EVERY sets the seconds between
# memory samples (5, or 1 for runs under 300 s). Samples, the actions done,
# screenshots and the program's output go to $E2E_ARTIFACTS/soak.
#
# usage: soak.sh PROGRAM XCLOSE [SECONDS]
source "$(dirname "$0")/harness.sh"
PROGRAM=$1
XCLOSE=$2
SOAK_SECONDS=${3:-600}
SEED=${SOAK_SEED:-$(( $(date +%s%N) / 1000 % 1000000000 ))}
# Short runs sample more often, so that the judgement has samples to go by.
SAMPLE_EVERY=${SOAK_SAMPLE_EVERY:-$([ "$SOAK_SECONDS" -ge 300 ] && echo 5 || echo 1)}
ACTION_TIMEOUT=30 # seconds for any one step: a dialog to come, to go, a command of the X tools

# The program is built with AddressSanitizer, whose own memory would hide the
# program's: a small quarantine fills within the warm-up, and no allocation
# stacks are kept, as the store of them grows with every new path through
# the program (some 12 MB in ten minutes). A report still names the faulty
# access; replaying the seed with ASAN_OPTIONS=malloc_context_size=30 names
# the allocations too (the caller's options come last and win).
QUARANTINE_MB=16
export ASAN_OPTIONS="quarantine_size_mb=$QUARANTINE_MB:malloc_context_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp:print_suppressions=0}

# Table geometry in table pixels, as the program lays the cards out.
COLUMN_X=(0 7 85 163 241 319 397 475 553)
FIRST_ROW_Y=112
ROW_STEP=16
FOUNDATION_ROW_Y=7
CARD_HEIGHT=96

e2e_setup
ARTIFACTS=${E2E_ARTIFACTS:+$E2E_ARTIFACTS/soak}
ARTIFACTS=${ARTIFACTS:-$E2E_DIR/soak}
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
RSS_CSV="$ARTIFACTS/rss.csv"
ACTIONS_LOG="$ARTIFACTS/actions.log"
: >"$ACTIONS_LOG"

SAMPLER_PID=""
soak_teardown() {
    if [ -n "$SAMPLER_PID" ]; then
        kill "$SAMPLER_PID" 2>/dev/null || true
        wait "$SAMPLER_PID" 2>/dev/null || true
    fi
    if [ -s "${E2E_DIR:-}/app.log" ]; then cp "$E2E_DIR/app.log" "$ARTIFACTS/app.log"; fi
    e2e_teardown
}
trap soak_teardown EXIT

echo "soak: $SOAK_SECONDS s, seed $SEED (replay with SOAK_SEED=$SEED), artifacts in $ARTIFACTS"
RANDOM=$SEED

# --- small tools ----------------------------------------------------------

R=0
pick() { R=$((RANDOM % $1)); } # R: 0..N-1, from the seeded sequence (no subshell)

now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }
elapsed() { echo $(( ($(now_ms) - START_MS) / 1000 )); }

ACTION_NO=0
LAST_ACTION="start-up"
note() { # what the next steps do, for the log and for a failure
    LAST_ACTION="$*"
    printf '%7.1f #%d %s\n' "$(( $(now_ms) - START_MS ))e-3" "$ACTION_NO" "$*" >>"$ACTIONS_LOG"
}

soak_fail() {
    import -window root "$ARTIFACTS/failure.png" 2>/dev/null || true
    echo "soak: failed after $(elapsed) s, action #$ACTION_NO ($LAST_ACTION); seed $SEED" >&2
    echo "soak: screenshot $ARTIFACTS/failure.png, actions in $ACTIONS_LOG" >&2
    e2e_fail "$@"
}

# xdotool, bounded: an X tool that hangs fails the run instead of stalling it.
# Other failures (a window gone meanwhile) are the program's business.
xdo() {
    local status=0
    timeout "$ACTION_TIMEOUT" xdotool "$@" 2>/dev/null || status=$?
    [ "$status" = 124 ] && soak_fail "xdotool $* hung for $ACTION_TIMEOUT s"
    return 0
}

alive() {
    kill -0 "$APP_PID" 2>/dev/null || soak_fail "the program ended during the soak"
}

declare -A COUNT=()
count() { COUNT[$1]=$(( ${COUNT[$1]:-0} + 1 )); }

# --- the table as it is now -------------------------------------------------

# From a picture of the main window: the table's top and bottom edge and per
# column the number of cards and the first face-up row (0: none).
# Arguments: the columns' x, the first row's y, the row step, the card height.
GEOMETRY_PY='
import sys
*columns, first_row, step, card_height = map(int, sys.argv[1:])
data = sys.stdin.buffer.read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    if data[pos:pos + 1] == b"#":
        pos = data.index(b"\n", pos)
        continue
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pos += 1
w, h = int(fields[1]), int(fields[2])
def px(x, y):
    i = pos + 3 * (y * w + x)
    return data[i:i + 3]
table = px(3, h * 11 // 20)
top = next(y for y in range(h - 6) if all(px(3, y + d) == table for d in (0, 1, 5)))
bottom = top
while bottom + 1 < h and px(3, bottom + 1) == table:
    bottom += 1
counts, faceup = [], []
for x0 in columns:
    x = x0 + 35
    last = None
    for y in range(top + first_row, bottom + 1):
        if px(x, y) != table:
            last = y
    n = 0 if last is None else max(1, round((last - top - first_row - card_height + 1) / step) + 1)
    up = 0
    for r in range(1, n + 1):
        y = top + first_row + step * (r - 1) + 8
        if y <= bottom and min(px(x, y)) >= 200:
            up = r
            break
    counts.append(n)
    faceup.append(up)
print(top, bottom, *counts, *faceup)
'

TOP=0 BOTTOM=0
N=() UP=()
read_table() {
    local shot values
    shot=$(timeout "$ACTION_TIMEOUT" import -window "$MAIN" -depth 8 ppm:- 2>/dev/null | python3 -c "$GEOMETRY_PY" "${COLUMN_X[@]:1}" "$FIRST_ROW_Y" "$ROW_STEP" "$CARD_HEIGHT" 2>/dev/null) || shot=""
    if [ -z "$shot" ]; then
        # A picture taken while the window changed; the standard layout will do.
        values=(45 430 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0)
    else
        read -r -a values <<<"$shot"
    fi
    TOP=${values[0]} BOTTOM=${values[1]}
    N=(0 "${values[@]:2:8}")
    UP=(0 "${values[@]:10:8}")
}

row_y() { echo $((TOP + FIRST_ROW_Y + ROW_STEP * ($1 - 1))); }
clamp_y() { local y=$1; ((y < TOP + 2)) && y=$((TOP + 2)); ((y > BOTTOM - 2)) && y=$((BOTTOM - 2)); echo "$y"; }

# --- mouse ----------------------------------------------------------------

focus_main() {
    xdo windowfocus --sync "$MAIN"
}

# A move the game takes, from the position the program itself saves as a
# bookmark: a face-up card (with what lies on it) onto the card one higher
# of its suit, or a King onto an empty column. Prints "FROM ROW TO
# TO-LENGTH" or nothing.
AIM_PY='
import configparser, sys
parser = configparser.ConfigParser(strict=False, interpolation=None)
parser.optionxform = str
parser.read(sys.argv[1])
if not parser.has_section("AutoSave"):
    sys.exit()
saved = parser["AutoSave"]
def number(key):
    try:
        return int(saved.get(key, "0"))
    except ValueError:
        return 0
columns = {c: [number("Tableau_%d_%d" % (c, r)) for r in range(1, number("TableauCounter%d" % c) + 1)]
           for c in range(1, 9)}
moves = []
for c, cards in columns.items():
    face_down = number("Status%d" % c) if c >= 5 else 0
    for r in range(face_down + 1, len(cards) + 1):
        card = cards[r - 1]
        king = (card - 1) % 13 == 12
        for t, target in columns.items():
            if t != c and ((target and not king and target[-1] == card + 1) or (not target and king and r > 1)):
                moves.append((c, r, t, len(target)))
if moves:
    print(*moves[int(sys.argv[2]) % len(moves)])
'

drag() { # left-button drag of a card or block from one column to another
    read_table
    local from row to below aimed=""
    pick 2
    if ((R == 0)); then
        # Aimed: the program saves the position on Place Bookmark.
        note "place bookmark to aim a drag"
        focus_main
        xdo key --clearmodifiers m
        count "bookmarks placed to aim"
        sleep 0.2
        pick 1000
        local move
        move=$(python3 -c "$AIM_PY" "$INI" "$R" 2>/dev/null) || move=""
        if [ -n "$move" ]; then
            read -r from row to below <<<"$move"
            below=$((below + 1))
            aimed=" (aimed)"
        fi
    fi
    if [ -z "$aimed" ]; then
        local columns=() c
        for c in 1 2 3 4 5 6 7 8; do ((N[c] > 0)) && columns+=("$c"); done
        if [ ${#columns[@]} = 0 ]; then click; return; fi
        pick ${#columns[@]}; from=${columns[$R]}
        local n=${N[$from]} up=${UP[$from]}
        # Mostly a face-up card or block, which the game may take; now and
        # then a face-down one, which it must refuse.
        pick 4
        if ((R > 0 && up > 0)); then pick $((n - up + 1)); row=$((up + R)); else pick "$n"; row=$((R + 1)); fi
        pick 7; to=$((R + 1)); ((to >= from)) && to=$((to + 1))
        below=$((N[to] + 1))
    fi
    local x1=$((COLUMN_X[from] + 20)) y1=$(( $(row_y "$row") + 8 )) x2 y2
    pick 10
    if [ -z "$aimed" ] && ((R == 0 && to >= 5)); then # onto a foundation
        x2=$((COLUMN_X[to] + 20)); y2=$((TOP + FOUNDATION_ROW_Y + 8))
    elif [ -z "$aimed" ] && ((R == 1)); then # anywhere
        pick 600; x2=$((R + 10)); pick $((BOTTOM - TOP)); y2=$((TOP + R))
    else # below the target column's last card, give or take
        pick 21; x2=$((COLUMN_X[to] + 10 + R))
        pick 17; y2=$(( $(row_y "$below") + R ))
    fi
    y1=$(clamp_y "$y1"); y2=$(clamp_y "$y2")
    pick 9; local steps=$((R + 2)) i args=()
    args=(mousemove --window "$MAIN" --sync "$x1" "$y1" mousedown 1)
    for ((i = 1; i <= steps; i++)); do
        args+=(mousemove --window "$MAIN" --sync $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps)))
    done
    args+=(mouseup 1)
    note "drag$aimed column $from row $row/${N[$from]} -> column $to ($x1,$y1 -> $x2,$y2, $steps steps)"
    xdo "${args[@]}"
    count drags
    [ -n "$aimed" ] && count "aimed drags"
    # Whether the cards went: the columns' lengths tell.
    local before="${N[*]}"
    sleep 0.1
    read_table
    [ "${N[*]}" != "$before" ] && count "drags that moved"
    return 0
}

interrupted_drag() { # a drag cut into by a key, a menu, the focus or another button
    read_table
    local columns=() c
    for c in 1 2 3 4 5 6 7 8; do ((N[c] > 0 && UP[c] > 0)) && columns+=("$c"); done
    if [ ${#columns[@]} = 0 ]; then click; return; fi
    pick ${#columns[@]}; c=${columns[$R]}
    local row
    pick $((N[c] - UP[c] + 1)); row=$((UP[c] + R))
    local x1=$((COLUMN_X[c] + 20)) y1 x2 y2
    y1=$(clamp_y $(( $(row_y "$row") + 8 )))
    pick 500; x2=$((R + 20)); pick $((BOTTOM - TOP)); y2=$(clamp_y $((TOP + R)))
    xdo mousemove --window "$MAIN" --sync "$x1" "$y1" mousedown 1 \
        mousemove --window "$MAIN" --sync $(((x1 + x2) / 2)) $(((y1 + y2) / 2)) \
        mousemove --window "$MAIN" --sync "$x2" "$y2"
    pick 4
    case $R in
        0)
            local entry
            pick ${#KEYS[@]}; entry=${KEYS[$R]}
            note "drag from column $c row $row cut by key ${entry%%|*} (${entry#*|})"
            xdo key --clearmodifiers "${entry%%|*}"
            bookmark_count "$entry"
            ;;
        1)
            pick 2; local button=$((R + 2))
            note "drag from column $c row $row with a double click of button $button"
            xdo click --repeat 2 --delay 60 "$button"
            ;;
        2)
            note "drag from column $c row $row cut by the Game menu"
            xdo key --clearmodifiers alt+g
            sleep 0.2
            xdo key --clearmodifiers Escape
            ;;
        3)
            note "drag from column $c row $row while the focus goes elsewhere"
            xdo windowfocus "$(xwininfo -root | sed -n 's/.*Window id: \([^ ]*\).*/\1/p')"
            ;;
    esac
    sleep 0.2
    xdo mousemove --window "$MAIN" --sync "$x1" "$y1" mouseup 1
    count "interrupted drags"
    sleep 0.1
    alive
}

click() { # a click or a double click on a card or on the table
    read_table
    pick 8; local c=$((R + 1)) x y
    pick 2
    if ((N[c] > 0 && R == 0)); then
        x=$((COLUMN_X[c] + 30)); y=$(( $(row_y "${N[c]}") + 40 ))
    else
        pick 620; x=$((R + 5)); pick $((BOTTOM - TOP)); y=$((TOP + R))
    fi
    y=$(clamp_y "$y")
    pick 4
    local times=1; ((R == 0)) && times=2
    note "click x$times at $x,$y"
    xdo mousemove --window "$MAIN" --sync "$x" "$y" click --repeat "$times" --delay 80 1
    count clicks
}

peek() { # right button held on a covered card
    read_table
    local columns=() c
    for c in 1 2 3 4 5 6 7 8; do ((N[c] > 1)) && columns+=("$c"); done
    if [ ${#columns[@]} = 0 ]; then click; return; fi
    pick ${#columns[@]}; c=${columns[$R]}
    local n=${N[$c]} up=${UP[$c]} row
    # Mostly a face-up card under others, which shows; else a face-down one.
    pick 4
    if ((R > 0 && up > 0 && up < n)); then pick $((n - up)); row=$((up + R)); else pick $((n - 1)); row=$((R + 1)); fi
    local x=$((COLUMN_X[c] + 35)) y
    y=$(clamp_y $(( $(row_y "$row") + 8 )))
    pick 7; local hold="0.$((R + 2))"
    pick 8
    if ((R == 0)); then # moved away while held: the peek ends early
        note "peek column $c row $row/$n, moved off"
        xdo mousemove --window "$MAIN" --sync "$x" "$y" mousedown 3 sleep "$hold" \
            mousemove --window "$MAIN" --sync $((x + 25)) "$y" mouseup 3
    else
        note "peek column $c row $row/$n for $hold s"
        xdo mousemove --window "$MAIN" --sync "$x" "$y" mousedown 3 sleep "$hold" mouseup 3
    fi
    count peeks
}

# --- commands ---------------------------------------------------------------

# Keys: KEY|WHAT|opens (dialog, help or -). Escape (minimise) and Alt+F4
# (exit) are left out: the soak needs the window.
KEYS=(
    "F2|new game|-" "F3|select game|dialog" "F4|restart game|-" "u|undo|-" "F5|pause|-"
    "t|top ten|dialog" "s|statistics|dialog" "p|preferences|dialog" "n|player name|dialog"
    "m|place bookmark|-" "r|return to bookmark|-" "c|background colour|dialog" "b|card back|dialog"
    "F12|refresh screen|-" "F1|help contents|help"
)
# Menu entries: MENU ENTRY|WHAT|opens. Exit and Auto Save are left out.
MENUS=(
    "g n|Game/New Game|-" "g g|Game/Select Game|dialog" "g r|Game/Restart Game|-" "g u|Game/Undo|-"
    "g a|Game/Pause|-" "g t|Game/Top Ten|dialog" "g s|Game/Statistics|dialog"
    "o p|Options/Preferences|dialog" "o n|Options/Player Name|dialog" "o u|Options/Sound|-"
    "o m|Options/Place Bookmark|-" "o r|Options/Return to Bookmark|-" "o c|Options/Background Color|dialog"
    "o b|Options/Card Back|dialog" "o s|Options/Refresh Screen|-"
    "v t|View/Toolbar|-" "v s|View/Status Bar|-"
    "h c|Help/Contents|help" "h k|Help/Keyword Search|help" "h h|Help/How to Play|help"
    "h u|Help/Using Help|help" "h t|Help/Tip of the Day|-" "h a|Help/About|dialog"
)

bookmark_count() {
    case $1 in
        *"place bookmark"* | *"Place Bookmark"*) count "bookmarks placed" ;;
        *"return to bookmark"* | *"Return to Bookmark"*) count "bookmarks returned" ;;
    esac
}

key_command() { # KEYS entry
    local key=${1%%|*} rest=${1#*|}
    local what=${rest%%|*} opens=${rest#*|}
    note "key $key ($what)"
    focus_main
    xdo key --clearmodifiers "$key"
    count "key commands"
    bookmark_count "$what"
    expect "$opens" "key $key ($what)"
}

menu_command() { # MENUS entry
    local keys=${1%%|*} rest=${1#*|}
    local what=${rest%%|*} opens=${rest#*|}
    note "menu alt+${keys% *} ${keys#* } ($what)"
    focus_main
    xdo key --clearmodifiers "alt+${keys% *}"
    sleep 0.3
    xdo key --clearmodifiers "${keys#* }"
    count "menu commands"
    bookmark_count "$what"
    expect "$opens" "menu $what"
}

# --- windows of the program besides the main window ----------------------------

other_windows() { # newest last
    local w
    for w in $(timeout "$ACTION_TIMEOUT" xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | sort -n); do
        [ "$w" != "$MAIN" ] && echo "$w"
    done
    return 0
}

expect() { # OPENS WHAT: a command that opens a window must show one
    local opens=$1 what=$2 i
    [ "$opens" = "-" ] && { sleep 0.25; return 0; }
    # Help comes up slowly the first time; a late one is closed next round.
    local seconds=$ACTION_TIMEOUT
    [ "$opens" = help ] && seconds=5
    for ((i = 0; i < seconds * 10; i++)); do
        [ -n "$(other_windows)" ] && return 0
        alive
        sleep 0.1
    done
    [ "$opens" = help ] && return 0
    # Not even the menu the command came through: the program no longer
    # answers.
    soak_fail "no window came up within $seconds s after $what"
}

overrides_redirect() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'
}

game_number_text() { # something to type into Select Game
    pick 10
    case $R in
        0) GAME_TEXT=0 ;;
        1) pick 1000; GAME_TEXT="-$R" ;;
        2) pick 32768; GAME_TEXT="x$R" ;;
        3) pick 32768; GAME_TEXT=$(printf '$%X' "$R") ;;
        4) GAME_TEXT=99999999999 ;;
        5 | 6) pick 32000; GAME_TEXT=$((R + 1)) ;;
        *) GAME_TEXT=$(( ((RANDOM << 16) | (RANDOM << 1) | (RANDOM & 1)) % 2147483647 + 1 )) ;;
    esac
}

answer_window() { # one answer to WINDOW, at random as a player would
    local w=$1 title
    title=$(timeout "$ACTION_TIMEOUT" xdotool getwindowname "$w" 2>/dev/null) || return 0
    if overrides_redirect "$w"; then
        # A menu left open by a disabled entry, or a pop-up: a click outside
        # closes it, as it would for a player.
        # Not --sync: under the pop-up's grab a move onto the pointer's own
        # place is waited for in vain.
        pick 140; local x=$((R + 2))
        pick 140
        note "close pop-up $w ('$title') by a click outside, at $x,$((R + 2))"
        xdo mousemove "$x" $((R + 2)) sleep 0.1 click 1
        count "pop-ups closed"
        return 0
    fi
    case $title in
        "Vespintide Help")
            note "close the help window"
            "$XCLOSE" "$w" 2>/dev/null || true
            count "help windows closed"
            return 0
            ;;
    esac
    # The first of each kind is kept, to show what the soak went through.
    local kept="$ARTIFACTS/window-${title//[^A-Za-z0-9]/_}.png"
    [ -e "$kept" ] || import -window root "$kept" 2>/dev/null || true
    xdo windowfocus --sync "$w"
    pick 4
    local how=$R
    case $title in
        "Select Game")
            if ((how == 0)); then
                note "Select Game: Escape"
                xdo key --clearmodifiers Escape
            else
                game_number_text
                note "Select Game: $GAME_TEXT"
                xdo key --clearmodifiers ctrl+a
                xdo type --delay 20 "$GAME_TEXT"
                xdo key --clearmodifiers Return
            fi
            ;;
        "Vespintide Preferences")
            # Pages turned, then OK or Cancel: nothing on them is changed, so
            # Auto Save stays on.
            pick 5; local turns=$R i
            for ((i = 0; i < turns; i++)); do xdo key --clearmodifiers ctrl+Tab; sleep 0.1; done
            pick 2
            if ((R == 0)); then note "Preferences: $turns pages, OK"; xdo key --clearmodifiers Return
            else note "Preferences: $turns pages, Cancel"; xdo key --clearmodifiers Escape; fi
            ;;
        *)
            case $how in
                0) note "'$title': Return"; xdo key --clearmodifiers Return ;;
                1) note "'$title': Escape"; xdo key --clearmodifiers Escape ;;
                *)
                    pick 4; local tabs=$R i
                    note "'$title': Tab x$tabs, space"
                    for ((i = 0; i < tabs; i++)); do xdo key --clearmodifiers Tab; done
                    xdo key --clearmodifiers space
                    ;;
            esac
            ;;
    esac
    count "dialogs answered"
}

answer_all() { # until only the main window is left
    local deadline=$(( $(now_ms) + 3 * ACTION_TIMEOUT * 1000 )) windows w candidate
    while :; do
        alive
        windows=$(other_windows)
        [ -z "$windows" ] && return 0
        (($(now_ms) > deadline)) && soak_fail "windows still open after $((3 * ACTION_TIMEOUT)) s of answers: $(for w in $windows; do printf "'%s' " "$(xdotool getwindowname "$w" 2>/dev/null)"; done)"
        # Pop-ups first, as they hold the mouse and keys; the help window
        # last, as a dialog it was opened from keeps it from closing.
        w=""
        for candidate in $windows; do
            overrides_redirect "$candidate" && { w=$candidate; break; }
            [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "Vespintide Help" ] || w=$candidate
        done
        [ -n "$w" ] || w=$(tail -n 1 <<<"$windows")
        answer_window "$w"
        sleep 0.3
    done
}

# --- memory ---------------------------------------------------------------------

sample_memory() {
    local kb t
    echo "time_s,rss_kb,anon_kb,file_kb" >"$RSS_CSV"
    while kill -0 "$APP_PID" 2>/dev/null; do
        kb=$(awk '/^VmRSS:/ { r = $2 } /^RssAnon:/ { a = $2 } /^RssFile:/ { f = $2 }
                  END { if (r != "") print r "," a "," f }' "/proc/$APP_PID/status" 2>/dev/null) || kb=""
        [ -n "$kb" ] || break
        t=$(( $(now_ms) - START_MS ))
        printf '%d.%d,%s\n' $((t / 1000)) $((t % 1000 / 100)) "$kb" >>"$RSS_CSV"
        sleep "$SAMPLE_EVERY"
    done
}

# --- the run ------------------------------------------------------------------------

e2e_quiet_start AutoSave=1
START_MS=$(now_ms)
e2e_start "$PROGRAM"
sample_memory &
SAMPLER_PID=$!
e2e_wait_window '^Vespintide'
MAIN=$WID
e2e_focus
e2e_wait_title '^Vespintide \(Game Number'
READY_MS=$(( $(now_ms) - START_MS ))

# First every command once, in an order of the seed's, among mouse play: the
# warm-up meets every window and cache the program has, so that memory after
# it is judged against a program that has done it all.
TOUR=()
for entry in "${KEYS[@]}"; do TOUR+=("key|$entry"); done
for entry in "${MENUS[@]}"; do TOUR+=("menu|$entry"); done
for ((i = ${#TOUR[@]} - 1; i > 0; i--)); do
    pick $((i + 1)); tmp=${TOUR[$i]}; TOUR[$i]=${TOUR[$R]}; TOUR[$R]=$tmp
done
TOUR_DONE_S=""
END_MS=""
NEXT_SHOT_S=0
SHOT_NO=0
NEXT_REPORT_S=30

while [ -z "$END_MS" ] || (($(now_ms) < END_MS)); do
    ACTION_NO=$((ACTION_NO + 1))
    answer_all
    if [ ${#TOUR[@]} -gt 0 ]; then
        pick 4
        if ((R > 0)); then
            entry=${TOUR[0]}
            TOUR=("${TOUR[@]:1}")
            if [ "${entry%%|*}" = key ]; then key_command "${entry#*|}"; else menu_command "${entry#*|}"; fi
            if [ ${#TOUR[@]} = 0 ]; then
                TOUR_DONE_S=$(elapsed)
                END_MS=$(($(now_ms) + SOAK_SECONDS * 1000))
                echo "soak: every command tried once after $TOUR_DONE_S s; $SOAK_SECONDS s of random play follow"
            fi
            continue
        fi
    fi
    pick 100
    if ((R < 40)); then drag
    elif ((R < 48)); then interrupted_drag
    elif ((R < 60)); then peek
    elif ((R < 65)); then click
    elif ((R < 83)); then pick ${#KEYS[@]}; key_command "${KEYS[$R]}"
    else pick ${#MENUS[@]}; menu_command "${MENUS[$R]}"
    fi
    sleep 0.15
    if (($(elapsed) >= NEXT_SHOT_S)); then
        sleep 0.3
        SHOT_NO=$((SHOT_NO + 1))
        import -window root "$ARTIFACTS/screen-$(printf '%02d' "$SHOT_NO").png" 2>/dev/null || true
        NEXT_SHOT_S=$((NEXT_SHOT_S + (SOAK_SECONDS >= 300 ? 60 : 15)))
    fi
    if (($(elapsed) >= NEXT_REPORT_S)); then
        echo "soak: $(elapsed) s, $ACTION_NO actions, RSS $(tail -n 1 "$RSS_CSV" | cut -d, -f2) kB"
        NEXT_REPORT_S=$((NEXT_REPORT_S + 30))
    fi
done

# The end: whatever is open is answered, the window closed as a window
# manager would. A question the close asks is answered Yes; a window that
# comes up instead (the end of a won game) is answered, and the close asked
# again.
ACTION_NO=$((ACTION_NO + 1))
answer_all
import -window root "$ARTIFACTS/screen-last.png" 2>/dev/null || true
WID=$MAIN
for ((i = 0; i < 300; i++)); do
    kill -0 "$APP_PID" 2>/dev/null || break
    if ((i % 30 == 0)); then
        note "close the main window"
        e2e_close
    elif ((i % 10 == 5)) && [ -n "$(other_windows)" ]; then
        w=$(other_windows | tail -n 1)
        note "answer '$(xdotool getwindowname "$w" 2>/dev/null)' at the close: y, Return"
        xdo windowfocus --sync "$w"
        xdo key --clearmodifiers y
        sleep 0.2
        [ -n "$(other_windows)" ] && xdo key --clearmodifiers Return
        count "dialogs answered"
    fi
    sleep 0.1
done
e2e_wait_exit 30
wait "$SAMPLER_PID" 2>/dev/null || true
SAMPLER_PID=""
cp "$INI" "$ARTIFACTS/Vespin.ini"

# --- the verdict ----------------------------------------------------------------------

failures=()
[ "$APP_STATUS" = 0 ] || failures+=("the program ended with status $APP_STATUS")
findings=$(grep -E 'ERROR: AddressSanitizer|runtime error:|LeakSanitizer' "$E2E_DIR/app.log" | head -n 5 || true)
[ -z "$findings" ] || failures+=("sanitizer report in the program's output: $findings")

settings=$(python3 - "$INI" <<'PY'
import configparser, sys
parser = configparser.ConfigParser(strict=False, interpolation=None)
parser.optionxform = str
try:
    with open(sys.argv[1], encoding="utf-8") as f:
        parser.read_file(f)
except (OSError, UnicodeError, configparser.Error) as error:
    print(f"does not parse: {error}")
    sys.exit()
if not parser.has_section("Options"):
    print("has no [Options] section")
elif parser.get("Options", "AutoSave", fallback="0").strip() in ("", "0"):
    print("has Auto Save off: AutoSave=%s" % parser.get("Options", "AutoSave", fallback="(missing)"))
else:
    print("ok: %d sections" % len(parser.sections()))
PY
)
[[ $settings == ok:* ]] || failures+=("the settings file $settings")

WARMUP_S=$((TOUR_DONE_S + (SOAK_SECONDS >= 300 ? 60 : SOAK_SECONDS / 5)))
# A leak grows the program's private memory: the heap and what else it maps
# for itself. Pages of files (code, fonts) come in as new paths through the
# program are taken; they are shared and given back under pressure, so they
# are shown but not judged. Under AddressSanitizer the allocator keeps freed
# memory in its quarantine and in pools per size that it never gives back;
# these creep up long after the warm-up (5-10 MB in ten minutes, where the
# same play of the plain build keeps its heap flat), so a sanitizer build is
# allowed the quarantine's size on top.
QUARANTINE_KB=0
grep -qa __asan_init "$PROGRAM" && QUARANTINE_KB=$((QUARANTINE_MB * 1024))
memory=$(python3 - "$RSS_CSV" "$WARMUP_S" "$SOAK_SECONDS" "${READY_MS}e-3" "$QUARANTINE_KB" <<'PY'
import csv, statistics, sys
samples = [(float(r["time_s"]), int(r["rss_kb"]), int(r["anon_kb"]), int(r["file_kb"]))
           for r in csv.DictReader(open(sys.argv[1]))]
warmup, seconds, ready, quarantine = float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), int(sys.argv[5])
if len(samples) < 5:
    print("FAIL only %d memory samples" % len(samples))
    sys.exit()
end = samples[-1][0]
# After the warm-up: the first tenth of the run (10 s at least) as the base,
# the last fifth as the end.
base = [s[2] for s in samples if warmup <= s[0] <= warmup + max(10.0, seconds / 10)]
last = [s[2] for s in samples if s[0] >= end - (end - warmup) / 5]
if not base or not last:
    print("FAIL too few memory samples after the warm-up of %d s" % warmup)
    sys.exit()
base_median, last_median = statistics.median(base), statistics.median(last)
allowance = max(3 * 1024, base_median * 0.05) + quarantine
# The start: the first sample once the window shows its game.
start = next((s for s in samples if s[0] >= ready), samples[0])
for name, column in (("RSS", 1), ("private (anonymous) RSS", 2), ("file-backed RSS", 3)):
    peak = max(samples, key=lambda s: s[column])
    print("%s start %d kB at %.0f s, peak %d kB at %.0f s, end %d kB"
          % (name, start[column], start[0], peak[column], peak[0], samples[-1][column]))
step = 60 if seconds >= 300 else 10
marks = [min(samples, key=lambda s: abs(s[0] - mark)) for mark in range(0, int(end) + 1, step)]
print("curve (MB, RSS/private): " + ", ".join("%ds %.1f/%.1f" % (mark * step, s[1] / 1024, s[2] / 1024)
                                                 for mark, s in enumerate(marks)))
verdict = "ok" if last_median - base_median <= allowance else "FAIL"
print("%s median private RSS after the warm-up of %d s: %d kB (%d samples), over the last fifth: %d kB (%d samples); "
      "growth %+d kB, allowed %d kB%s" % (verdict, warmup, base_median, len(base), last_median, len(last),
                                         last_median - base_median, allowance,
                                         " (with the sanitizer's quarantine)" if quarantine else ""))
PY
)
grep -q '^FAIL' <<<"$memory" && failures+=("memory grew: $(grep '^FAIL' <<<"$memory")")

echo "=== soak summary (seed $SEED, $SOAK_SECONDS s) ==="
printf '  %-24s %s\n' "actions" "$ACTION_NO"
for kind in drags "aimed drags" "drags that moved" "interrupted drags" peeks clicks "key commands" "menu commands" "dialogs answered" "help windows closed" \
    "pop-ups closed" "bookmarks placed" "bookmarks placed to aim" "bookmarks returned"; do
    printf '  %-24s %s\n' "$kind" "${COUNT[$kind]:-0}"
done
echo "  every command tried once after ${TOUR_DONE_S} s; memory judged after ${WARMUP_S} s"
sed 's/^/  /' <<<"$memory"
echo "  exit status $APP_STATUS; sanitizer findings: ${findings:-none}"
echo "  settings file: $settings"
echo "  samples: $RSS_CSV; actions: $ACTIONS_LOG"
echo "==="
if [ ${#failures[@]} -gt 0 ]; then
    LAST_ACTION="the verdict"
    soak_fail "$(printf '%s; ' "${failures[@]}")"
fi
echo "PASS"
