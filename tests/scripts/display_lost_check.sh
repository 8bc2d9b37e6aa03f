#!/bin/bash
# A game whose X display goes away under it ends at once, saying why,
# instead of waiting for ever on the dead connection while it closes its
# window. Skipped (77) without Xvfb.
#   display_lost_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool
start_display display-lost 73 1024x768x24
export SDL_AUDIODRIVER=dummy

start_game || exit 1
sleep 1
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=
wait_for_exit "the game still runs five seconds after its display went away" 50 KILL
grep -q "connection to the X display was lost" "$WORK/game.log" ||
    fail "the game did not say it lost its display: $(cat "$WORK/game.log")"

[ "$FAILURES" -eq 0 ] || exit 1
echo "display lost check passed"
