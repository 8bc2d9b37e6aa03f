#!/bin/bash
# A player's way into a game with the keyboard alone, in a real window on a
# virtual X display: Play Game, a new profile in slot 1, Time Attack at Easy,
# a few moves, then Escape and Yes back to the game type choice; Puzzle
# Challenge, the first set's first puzzle (key 1) solved with the shortest
# solution the puzzle checker finds; How To Play through all 13 steps and
# Escape. Each part of the way is a step function, run in the order of STEPS;
# a screenshot of every screen is kept in the screenshot folder. Skipped (77)
# without Xvfb.
#   play_window_check.sh <game folder> <folder for screenshots> <puzzle-check>
set -u
GAME=$1
SHOTS=$2
PUZZLE_CHECK=$3

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert compare xwininfo unzip
start_display play 41 1280x1024x24
export SDL_AUDIODRIVER=dummy
PROFILES="$WORK/game/Data/Profiles.pro"
NAME=tester

write_options() { # width height
    printf '<opts>\n\t<display width="%s" height="%s" fullscreen="0"/>\n\t<sounds volume="0.00"/>\n\t<music volume="0.00"/>\n</opts>\n' \
        "$1" "$2" >"$OPTIONS"
}

# expect_pixel X Y RRGGBB what: the last screenshot shows that colour there.
expect_pixel() {
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel ($1, $2) is $got, not $3"
}

# --- steps at 640x480 ----------------------------------------------------------

step_main_menu() {
    write_options 640 480
    start_game || return 1
    # The pointer waits off the window: this walk uses the keys alone, and a
    # button under a resting pointer would show its mouse-over picture.
    xdotool mousemove 1270 1010
    sleep 1
    press space # skip the logo
    sleep 0.5
    shot main-menu
    expect_pixel 2 2 9955AA "the main menu's purple"
}

step_profiles() {
    press p
    shot profiles
    expect_change main-menu profiles 640x400+0+80 "Play Game showed no new screen"
    expect_pixel 2 2 9955AA "the profile screen's background"
}

step_new_profile() {
    press 1
    shot name-entry
    expect_change profiles name-entry 640x120+0+100 "slot 1 did not open the name entry"
    xdotool type --delay 150 "$NAME"
    sleep 0.6
    shot name-typed
    expect_change name-entry name-typed 640x100+0+170 "the typed name does not show"
    press Return
    shot game-type
    expect_change name-typed game-type 640x200+0+150 "Enter did not go on to the game type"
}

step_time_attack_easy() {
    press t
    shot game-level
    expect_change game-type game-level 640x250+0+120 "Time Attack showed no difficulty choice"
    press e
    sleep 1
    shot play-time-attack
    expect_change game-level play-time-attack 640x300+0+120 "Easy started no game"
}

step_moves_and_leave() {
    press Right space Down space Right Right space Up space
    sleep 1
    shot play-moves
    press Escape
    shot leave-dialog
    expect_change play-moves leave-dialog 400x200+120+100 "Escape showed no dialog"
    press y
    sleep 0.5
    shot game-type-again
    # The buttons stand where they stood; the marquee above them moves on.
    local n
    n=$(region_difference game-type game-type-again 640x340+0+120)
    [ "$n" = 0 ] || fail "Escape and Yes did not come back to the game type choice ($n pixels differ)"
}

# --- the puzzles and the tutorial, from the game type choice ---------------------

# repeat KEY N: the key N times.
repeat() {
    local i
    for ((i = 0; i < $2; i++)); do printf ' %s' "$1"; done
}

# play_swap "(c,r)-(c2,r2)": brings the mover from the top-left cell to that
# swap, turned the right way (ACROSS says how it stands), and makes it.
ACROSS=1
play_swap() {
    local c r c2 across keys
    IFS='(),-' read -r _ c r _ _ c2 _ <<<"$1"
    across=0
    [ "$c" != "$c2" ] && across=1
    keys="$(repeat Up 10)$(repeat Left 6)"
    if [ "$across" != "$ACROSS" ]; then
        keys+=" Tab"
        ACROSS=$across
    fi
    # shellcheck disable=SC2086
    press $keys$(repeat Right "$c")$(repeat Down "$r") space
}

step_puzzle() {
    press p
    shot puzzles
    expect_change game-type-again puzzles 640x250+0+120 "Puzzle Challenge showed no puzzle choice"
    # The first set in the archive's order, its first puzzle, and that puzzle's
    # shortest solution as the checker finds it.
    local set
    set=$(unzip -Z1 "$WORK/game/Quorvo.VKR" | sed -n 's|^Data/Levels/\([^/]*\)/.*|\1|p' | sort -u | head -n 1)
    unzip -p "$WORK/game/Quorvo.VKR" "Data/Levels/$set/001.qvl" >"$WORK/first.qvl"
    local solution
    solution=$("$PUZZLE_CHECK" "$WORK/first.qvl" | sed -n 's/.*solution//p')
    [ -n "$solution" ] || {
        fail "no known solution for $set/001.qvl"
        return 1
    }
    xdotool mousemove 1270 1010 # the pointer off the well, so that only keys steer
    press 1
    sleep 1
    shot puzzle-start
    expect_change puzzles puzzle-start 640x400+0+40 "key 1 started no puzzle"
    ACROSS=1 # a new game's mover stands across
    local swap
    for swap in $solution; do
        play_swap "$swap"
        sleep 1.5
    done
    sleep 1.5
    shot puzzle-solved
    expect_change puzzle-start puzzle-solved 300x80+170+200 "the solution showed no Success"
    press Escape
    shot game-type-after-puzzle
    SOLVED="$set/001.qvl"
}

step_tutorial() {
    press h
    shot tutorial-1
    expect_change game-type-after-puzzle tutorial-1 640x480+0+0 "How To Play showed no tutorial"
    local n
    for n in $(seq 2 13); do
        press n
        case $n in 2 | 4 | 6 | 8 | 9 | 13) shot "tutorial-$n" ;; esac
    done
    expect_change tutorial-9 tutorial-13 300x160+330+0 "NEXT did not reach the last step"
    press Escape
    shot game-type-after-tutorial
    n=$(region_difference game-type-after-puzzle game-type-after-tutorial 640x340+0+120)
    [ "$n" = 0 ] || fail "Escape did not leave the tutorial for the game type choice ($n pixels differ)"
}

step_quit() {
    press Escape Escape Escape # to the profiles, the main menu, the exit question
    press y
    wait_for_exit "the game did not end after Yes"
    grep -q "<profile name=\"$NAME\" index=\"0\">" "$PROFILES" ||
        fail "the profiles file does not hold $NAME in slot 1: $(cat "$PROFILES" 2>/dev/null)"
    grep -q "<puzzle name=\"${SOLVED:-?}\"/>" "$PROFILES" ||
        fail "the profiles file does not mark ${SOLVED:-the first puzzle} solved: $(cat "$PROFILES" 2>/dev/null)"
}

# --- 1024x768: the same screens laid out for the larger size ----------------------

step_large_screens() {
    rm -f "$PROFILES"
    write_options 1024 768
    start_game || return 1
    sleep 1
    press space
    press p
    shot profiles-1024x768
    press 1
    xdotool type --delay 150 "$NAME"
    sleep 0.6
    shot name-typed-1024x768
    press Return
    shot game-type-1024x768
    press t e
    sleep 1
    press Right space Down space Right Right space
    sleep 1.5
    shot play-1024x768
    press Escape y
    sleep 0.5
    press p
    shot puzzles-1024x768
    press r h
    shot tutorial-1024x768
    press n n n n n n n n
    shot tutorial-9-1024x768
    press Escape m
    shot game-level-1024x768
    press Escape Escape Escape
    press y
    wait_for_exit "the game did not end at 1024x768"
}

STEPS="step_main_menu step_profiles step_new_profile step_time_attack_easy step_moves_and_leave step_puzzle
       step_tutorial step_quit step_large_screens"
for step in $STEPS; do
    note "$step"
    $step || break
done
rm -f "$SHOTS/waiting.png"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    cat "$WORK/game.log"
    exit 1
fi
echo "play window check passed; screenshots in $SHOTS"
