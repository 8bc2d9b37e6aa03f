#!/bin/bash
# The level editor in a real window on a virtual X display: from the puzzle
# selection the key "e" opens it; three red blocks are painted with the mouse
# (columns 1, 2 and 4 of the bottom row, so one swap solves the level) with
# one move allowed, saved as puzzle 1 of a new set, and Escape goes back to
# the puzzle selection, where the new set is the last one: it is played and
# solved with the mouse, and the profile records it. Between painting and
# saving, the keys alone paint a Wild block above column 4 and empty it again. Screenshots of every
# screen are kept in the screenshot folder. Skipped (77) without Xvfb.
#   editor_window_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert compare xwininfo
start_display editor 71 1280x1024x24
export SDL_AUDIODRIVER=dummy
PROFILES="$WORK/game/Data/Profiles.pro"
SET="99 my levels" # sorts after every shipped set
LEVEL="$WORK/game/Data/Levels/$SET/001.qvl"

printf '<opts>\n\t<display width="640" height="480" fullscreen="0"/>\n\t<sounds volume="0.00"/>\n\t<music volume="0.00"/>\n</opts>\n' \
    >"$OPTIONS"

# click X Y: a left click at a point of the window's picture.
click() {
    xdotool mousemove --window "$WID" "$1" "$2" click 1
    sleep 0.3
}

# At 640x480 a cell is 40 x 40 pixels, column c of the bottom row centred at
# (45 + 40 c, 444).
cell_x() { echo $((45 + 40 * $1)); }

step_puzzle_selection() {
    start_game || return 1
    sleep 1
    press space # skip the logo
    press p     # Play Game
    press 1     # a new profile in slot 1
    xdotool type --delay 150 "tester"
    sleep 0.5
    press Return
    press p # Puzzle Challenge
    shot puzzle-selection
    local colours
    colours=$(convert "$SHOT" -crop 200x20+220+457 +repage -unique-colors -format %w info:)
    [ "$colours" -gt 4 ] || fail "no hint line at the bottom of the puzzle selection"
}

step_editor() {
    press e
    shot editor
    expect_change puzzle-selection editor 240x400+20+60 "the key e did not open the level editor"
    click 496 225 # the red palette block
    for c in 0 1 3; do click "$(cell_x $c)" 444; done
    click 459 88 # the moves-down arrow: the count stays at 1
    xdotool mousemove --window "$WID" 600 10
    sleep 0.5
    shot editor-painted
    for c in 0 1 3; do
        [ "$(region_difference editor editor-painted 30x30+$(($(cell_x $c) - 15))+429)" -gt 500 ] ||
            fail "no block painted in column $((c + 1))"
    done
    [ "$(region_difference editor editor-painted 30x30+$(($(cell_x 2) - 15))+429)" = 0 ] ||
        fail "column 3 was painted too"
}

# Tab gives the well the focus and shows its cursor where the mouse left
# the well (column 4 of the bottom row); Up moves it to the cell above (and
# not the move count, which stays at 1), 6 picks Wild, Space paints it and
# Delete empties it again.
step_editor_keys() {
    press Tab Up 6 space
    shot editor-keys
    local inner="16x16+$(($(cell_x 3) - 8))+396"
    [ "$(region_difference editor-painted editor-keys "$inner")" -gt 100 ] ||
        fail "Space painted no block above column 4"
    press Delete
    shot editor-keys-erased
    [ "$(region_difference editor-painted editor-keys-erased "$inner")" -lt 10 ] ||
        fail "Delete did not empty the cell above column 4"
    press 5 # red again, as the mouse left it
}

step_save() {
    click 492 397 # Save
    xdotool type --delay 100 "$SET"
    sleep 0.3
    shot save-chooser
    press Return
    [ -f "$LEVEL" ] || { fail "no level file at $LEVEL"; return 1; }
    grep -q '<qvl moves="1">' "$LEVEL" || fail "the level does not allow one move: $(cat "$LEVEL")"
    [ "$(grep -c '<block ' "$LEVEL")" = 3 ] || fail "the level does not hold three blocks: $(cat "$LEVEL")"
    grep -q '<block x="3" y="9" color="0"/>' "$LEVEL" || fail "no red block in column 4: $(cat "$LEVEL")"
}

step_play_new_set() {
    press Escape
    shot puzzle-selection-again
    expect_change editor-painted puzzle-selection-again 240x400+20+60 "Escape did not leave the editor"
    press Left # the sets wrap: the new set is the last one
    shot new-set
    expect_change puzzle-selection-again new-set 400x40+120+40 "Left showed no other set"
    press 1
    sleep 0.5
    shot new-set-playing
    xdotool mousemove --window "$WID" "$(cell_x 2)" 444
    sleep 0.3
    click "$(cell_x 2)" 444
    sleep 2.5
    shot new-set-solved
    [ "$(region_difference new-set-playing new-set-solved 40x40+25+424)" -gt 300 ] ||
        fail "the reds did not clear"
    # Solving saves the profile with the puzzle marked.
    grep -q "<puzzle name=\"$SET/001.qvl\"/>" "$PROFILES" ||
        fail "the solved puzzle is not recorded: $(cat "$PROFILES" 2>/dev/null)"
}

for step in step_puzzle_selection step_editor step_editor_keys step_save step_play_new_set; do
    note "$step"
    $step || break
done

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    cat "$WORK/game.log"
    exit 1
fi
echo "editor window check passed; screenshots in $SHOTS"
