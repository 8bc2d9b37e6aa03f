#!/bin/bash
# Starts a copy of the game folder on a virtual X display with SDL writing its
# sound to a file, and follows the first minute of a player's visit: the logo
# on white, then the main menu with its music; Escape opens the exit dialog
# and "y" ends the game with the options saved. Screenshots of the main menu
# at 640x480 and 1024x768 are kept in the screenshot folder.
#   menu_window_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert xwininfo od
# Large enough for a 1024x768 window with its frame.
start_display menu 111 1280x1024x24

# The disk driver writes the mixed sound as raw 16-bit stereo, in real time.
export SDL_AUDIODRIVER=disk
AUDIO="$WORK/audio.raw"
export SDL_DISKAUDIOFILE="$AUDIO"

options_text() {  # width height
    printf '<opts>\n\t<display width="%s" height="%s" fullscreen="0"/>\n\t<sounds volume="0.50"/>\n\t<music volume="0.75"/>\n</opts>\n' "$1" "$2"
}

start_game() {
    rm -f "$AUDIO"
    (cd / && exec "$WORK/game/quorvo") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    # The window of this run (a window of the previous run may linger in the
    # window manager's lists for a moment).
    WID=
    W=
    for _ in $(seq 100); do
        WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Quorvo$' 2>/dev/null | head -n 1)
        if [ -n "$WID" ]; then
            read -r X Y W H <<<"$(xwininfo -id "$WID" 2>/dev/null |
                awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                     /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')"
            [ -n "$W" ] && break
        fi
        sleep 0.1
    done
    if [ -z "$W" ]; then
        fail "no window titled Quorvo appeared"
        cat "$WORK/game.log"
        return 1
    fi
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || xdotool windowfocus "$WID" >/dev/null 2>&1
    sleep 0.3
    return 0
}

# A screenshot of the window's picture (client area only).
screenshot() {
    SHOT="$SHOTS/$1.png"
    # import can stall while the window is being redrawn: bounded, and retried by the callers.
    timeout 5 import -window "$WID" "$SHOT" 2>/dev/null
}

# Waits (up to $1 seconds) until the window's corner shows the menu purple.
wait_for_menu() {
    local tries=$(($1 * 5))
    for _ in $(seq "$tries"); do
        screenshot waiting
        [ "$(pixel 2 2)" = 9955AA ] && return 0
        sleep 0.2
    done
    return 1
}

# Largest absolute sample in the audio file from byte offset $1 on.
loudest_from() {
    tail -c +"$(($1 + 1))" "$AUDIO" | od -An -v -td2 -w2 |
        awk 'BEGIN {m = 0} {v = $1 < 0 ? -$1 : $1; if (v > m) m = v} END {print m}'
}

# 1. 640x480: the logo on white, the menu by itself, its music, the exit dialog.
options_text 640 480 >"$OPTIONS"
if start_game; then
    [ "$W" = 640 ] && [ "$H" = 480 ] || fail "window is ${W}x${H}, expected 640x480"
    sleep 1
    screenshot logo-white
    [ "$(pixel 320 240)" = FFFFFF ] || fail "the first second is not white in the middle: $(pixel 320 240)"
    [ "$(pixel 2 2)" = FFFFFF ] || fail "the logo screen's background is not white: $(pixel 2 2)"
    sleep 3.5
    screenshot logo-shown
    [ "$(pixel 320 240)" != FFFFFF ] || fail "the logo never showed"
    note "logo checked"
    if wait_for_menu 15; then
        note "main menu at 640x480"
        MENU_AT=$(stat -c %s "$AUDIO" 2>/dev/null || echo 0)
        sleep 0.5
        screenshot main-menu-640x480
        [ "$(pixel 637 477)" = 9955AA ] || fail "menu background at the far corner: $(pixel 637 477)"
        [ "$(pixel 320 300)" != 9955AA ] || fail "the menu panel is missing"
        sleep 2.5
        LOUDEST=$(loudest_from $((MENU_AT + 22050 * 4)))
        [ -n "$LOUDEST" ] && [ "$LOUDEST" -gt 200 ] || fail "no music after the menu appeared (loudest $LOUDEST)"
        echo "menu music: loudest sample $LOUDEST"

        xdotool key Escape
        note "escape"
        sleep 0.7
        screenshot exit-dialog
        [ "$(pixel 320 60)" != "$(convert "$SHOTS/main-menu-640x480.png" -crop 1x1+320+60 -depth 8 txt:- |
            grep -o '#[0-9A-F]\{6\}' | head -n 1 | tr -d '#')" ] || fail "Escape showed no dialog"
        xdotool key y
        wait_for_exit "the game did not end"
        note "ended after yes"
        [ "$(cat "$OPTIONS")" = "$(options_text 640 480)" ] || { fail "options after Yes:"; cat "$OPTIONS"; }
    else
        fail "the main menu never appeared"
        kill "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=
    fi
fi

# 2. 1024x768: a key skips the logo; the menu is laid out for the larger size.
options_text 1024 768 >"$OPTIONS"
if start_game; then
    [ "$W" = 1024 ] && [ "$H" = 768 ] || fail "window is ${W}x${H}, expected 1024x768"
    note "window at 1024x768"
    sleep 1
    xdotool key space
    if wait_for_menu 5; then
        sleep 0.5
        screenshot main-menu-1024x768
        [ "$(pixel 1021 765)" = 9955AA ] || fail "menu background at 1024x768: $(pixel 1021 765)"
        [ "$(pixel 512 480)" != 9955AA ] || fail "the menu panel is missing at 1024x768"
    else
        fail "a key did not skip the logo"
    fi
    xdotool key Escape
    sleep 0.5
    xdotool key y
    wait_for_exit "the game did not end"
    [ "$(cat "$OPTIONS")" = "$(options_text 1024 768)" ] || { fail "options after Yes:"; cat "$OPTIONS"; }
fi
rm -f "$SHOTS/waiting.png"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    cat "$WORK/game.log"
    exit 1
fi
echo "menu window check passed; screenshots in $SHOTS"
