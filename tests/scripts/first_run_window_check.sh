#!/bin/bash
# The game's first run on a 1920x1080 desktop: with no options file it opens
# full screen at the largest offered size the display holds (1280x960), goes
# through a new profile into a Time Attack game, and keeps that choice in the
# options file it writes at exit. Screenshots of the play screen are kept in
# the screenshot folder. Skipped (77) without Xvfb.
#   first_run_window_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert xwininfo
start_display first-run 71 1920x1080x24
export SDL_AUDIODRIVER=dummy

# The whole display, letterbox included; a full-screen picture this size can
# take a while to grab on a busy machine.
shot() {
    SHOT="$SHOTS/$1.png"
    timeout 30 import -window root "$SHOT" || fail "no screenshot $1"
}

rm -f "$OPTIONS"
if start_game; then
    size=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = 1920x1080 ] || fail "the first run's window is $size, not the whole 1920x1080 display"
    sleep 1
    press space p 1
    xdotool type --delay 150 tester
    press Return t e
    sleep 1
    shot play-first-run-1920x1080
    press Right space Down space Right Right space
    sleep 1.5
    shot play-moves-1920x1080
    expect_change play-first-run-1920x1080 play-moves-1920x1080 1920x1080+0+0 "the moves changed nothing"
    press Escape y Escape Escape Escape y
    wait_for_exit "the game did not end after Yes"
    grep -q '<display width="1280" height="960" fullscreen="1"/>' "$OPTIONS" ||
        fail "the options file does not keep 1280x960 full screen: $(cat "$OPTIONS" 2>/dev/null)"
fi

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    cat "$WORK/game.log"
    exit 1
fi
echo "first-run window check passed; screenshots in $SHOTS"
