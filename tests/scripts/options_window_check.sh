#!/bin/bash
# Starts a copy of the game folder on a virtual X display and follows a player
# through the options and the high scores: a larger display size applied and
# kept (the window grows and the options file says so), a second change left
# unanswered until the countdown undoes it, then the high-score table of a
# prepared file. Screenshots of both screens at 640x480 and of the options at
# 1024x768 are kept in the screenshot folder.
#   options_window_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert xwininfo
start_display options 61 1280x1024x24
export SDL_AUDIODRIVER=dummy

options_text() {  # width height
    printf '<opts>\n\t<display width="%s" height="%s" fullscreen="0"/>\n\t<sounds volume="0.50"/>\n\t<music volume="0.25"/>\n</opts>\n' "$1" "$2"
}

# Size of the window's picture, as "WxH".
window_size() {
    xwininfo -id "$WID" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Waits up to $2 seconds for the window to have the size $1.
wait_for_size() {
    for _ in $(seq $(($2 * 10))); do
        [ "$(window_size)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Starts the game and waits (logo skipped) for the main menu.
start_game() {
    (cd / && exec "$WORK/game/quorvo") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WID=
    for _ in $(seq 100); do
        WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Quorvo$' 2>/dev/null | head -n 1)
        [ -n "$WID" ] && break
        sleep 0.1
    done
    if [ -z "$WID" ]; then
        fail "no window titled Quorvo appeared"
        cat "$WORK/game.log"
        return 1
    fi
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || xdotool windowfocus "$WID" >/dev/null 2>&1
    sleep 1
    key space 0.3
    wait_for_purple 10 || { fail "the main menu never appeared"; return 1; }
}

# Ends the game from the main menu through the exit dialog.
quit_game() {
    key Escape 0.5
    key y 0
    wait_for_exit "the game did not end"
}

screenshot() {
    SHOT="$SHOTS/$1.png"
    timeout 5 import -window "$WID" "$SHOT" 2>/dev/null
}

# Waits up to $1 seconds until the corner of the window shows the menu purple.
wait_for_purple() {
    for _ in $(seq $(($1 * 5))); do
        screenshot waiting
        [ "$(pixel 2 2)" = 9955AA ] && return 0
        sleep 0.2
    done
    return 1
}

key() {
    xdotool key "$1"
    sleep "${2:-0.6}"
}

# Rightmost column holding the dark row text (#333333) between x0 and x1 on
# the rows y0 to y1 of the last screenshot; empty when there is none.
text_right_edge() {  # x0 y0 x1 y1
    convert "$SHOT" -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage -fill white +opaque '#333333' \
        -fill black -opaque '#333333' -trim -format '%[fx:page.x+w]' info: 2>/dev/null | grep -v '^0$'
}

options_text 640 480 >"$OPTIONS"
cat >"$WORK/game/Data/HighScores.hsc" <<'SCORES'
<highscores>
	<marathonscore name="Al" score="900" level="0"/>
	<marathonscore name="Maximilian Q" score="800" level="0"/>
	<marathonscore name="R&amp;B &lt;3" score="700" level="0"/>
</highscores>
SCORES

start_game || exit 1
note "main menu"

# 1. Options, the next size (800x600), Apply, Yes.
key o 1
screenshot options-640x480
[ "$(pixel 320 300)" != 9955AA ] || fail "the options panel is missing"
key d
key a 1.5
wait_for_size 800x600 5 || fail "Apply left the window at $(window_size), expected 800x600"
screenshot keep-settings-800x600
key y 1
[ "$(window_size)" = 800x600 ] || fail "Yes left the window at $(window_size)"
[ "$(cat "$OPTIONS")" = "$(options_text 800 600)" ] || { fail "options after Yes:"; cat "$OPTIONS"; }
note "800x600 kept"

# 2. The next size (1024x768) applied and left unanswered: back after 35 s.
key d
key a 1.5
wait_for_size 1024x768 5 || fail "the second Apply left the window at $(window_size)"
sleep 1
screenshot keep-settings-1024x768
key n 1.5
wait_for_size 800x600 5 || fail "No left the window at $(window_size)"
key a 1.5
wait_for_size 1024x768 5 || fail "the third Apply left the window at $(window_size)"
note "waiting for the countdown"
sleep 30
[ "$(window_size)" = 1024x768 ] || fail "reverted before the countdown ended: $(window_size)"
wait_for_size 800x600 10 || fail "the countdown did not revert the window: $(window_size)"
note "reverted to $(window_size)"
[ "$(cat "$OPTIONS")" = "$(options_text 800 600)" ] || { fail "options after the revert:"; cat "$OPTIONS"; }
key Escape 1
wait_for_purple 5 || fail "Escape did not return to the main menu"

quit_game
[ "$(cat "$OPTIONS")" = "$(options_text 800 600)" ] || { fail "options at the end:"; cat "$OPTIONS"; }

# 3. The high scores of the prepared file, at 640x480.
options_text 640 480 >"$OPTIONS"
start_game || exit 1
key h 1.5
screenshot high-scores-640x480
# Rows 0 to 2 hold names of different widths in the name column
# (x from 0.62 W); row 3 is empty.
AL=$(text_right_edge 390 105 640 132)
MAX=$(text_right_edge 390 132 640 158)
RB=$(text_right_edge 390 158 640 185)
NONE=$(text_right_edge 390 185 640 211)
echo "name text right edges: '$AL' '$MAX' '$RB' '$NONE'"
[ -n "$AL" ] && [ -n "$MAX" ] && [ -n "$RB" ] || fail "a prepared name is missing"
[ -n "$AL" ] && [ -n "$MAX" ] && [ "$MAX" -gt "$((AL + 40))" ] || fail "the long name is not longer than the short one"
[ -z "$NONE" ] || fail "an empty row shows a name"
key Escape 1
quit_game
rm -f "$SHOTS/waiting.png"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    cat "$WORK/game.log"
    exit 1
fi
echo "options window check passed; screenshots in $SHOTS"
