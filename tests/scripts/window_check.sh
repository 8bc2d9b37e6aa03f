#!/bin/bash
# Starts a copy of the game folder on a virtual 1024x768 X display under
# openbox and checks the window, its picture, input, closing through the
# window manager and the options file written at exit.
#   window_check.sh <game folder> <folder for screenshots>
set -u
GAME=$1
SHOTS=$2

source "$(dirname "$0")/x_display.sh"
require_tools Xvfb openbox xdotool import convert xwininfo
start_display window 91 1024x768x24
export SDL_AUDIODRIVER=dummy

write_options() {  # width height fullscreen
    printf '<opts>\n\t<display width="%s" height="%s" fullscreen="%s"/>\n\t<sounds volume="0.50"/>\n\t<music volume="0.25"/>\n</opts>\n' \
        "$1" "$2" "$3" >"$OPTIONS"
}

start_game() {
    (cd / && exec "$WORK/game/quorvo") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WID=
    for _ in $(seq 100); do
        WID=$(xdotool search --onlyvisible --name '^Quorvo$' 2>/dev/null | head -n 1)
        [ -n "$WID" ] && break
        sleep 0.1
    done
    if [ -z "$WID" ]; then
        fail "no window titled Quorvo appeared"
        cat "$WORK/game.log"
        return 1
    fi
    timeout 5 xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || xdotool windowfocus "$WID" >/dev/null 2>&1
    sleep 0.5
    # Every message box is echoed on stderr as "Quorvo: text"; one would
    # wait for a click that never comes.
    if grep -q '^Quorvo: ' "$WORK/game.log"; then
        fail "the game showed a message: $(grep -m 1 '^Quorvo: ' "$WORK/game.log")"
        kill "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=
        return 1
    fi
    return 0
}

# Client-area geometry of the window: X Y W H.
geometry() {
    # A window found while the window manager was still taking it over may
    # have been replaced; look it up again then.
    if [ -z "$WID" ] || ! xwininfo -id "$WID" >/dev/null 2>&1; then
        WID=$(xdotool search --onlyvisible --name '^Quorvo$' 2>/dev/null | head -n 1)
    fi
    if [ -z "$WID" ]; then
        echo "0 0 0 0"
        return
    fi
    xwininfo -id "$WID" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                               /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# A screenshot of the root window: pixels are in screen coordinates.
screenshot() {
    SHOT="$SHOTS/$1.png"
    import -window root "$SHOT"
}
expect_pixel() {  # x y colour what
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel ($1, $2) is $got, expected $3"
}

close_and_wait() {
    timeout 5 xdotool windowactivate --sync "$WID" >/dev/null 2>&1
    xdotool key --clearmodifiers alt+F4
    wait_for_exit "the game did not end when its window was closed"
}

expect_options() {  # width height fullscreen
    local expected
    expected=$(printf '<opts>\n\t<display width="%s" height="%s" fullscreen="%s"/>\n\t<sounds volume="0.50"/>\n\t<music volume="0.25"/>\n</opts>\n' "$1" "$2" "$3")
    [ "$(cat "$OPTIONS")" = "$expected" ] || { fail "options file after exit:"; cat "$OPTIONS"; }
    [ "$(wc -l <"$OPTIONS")" -eq 5 ] || fail "options file does not have five lines"
}

BACKGROUND=9955AA

# Whatever the first screen is, its picture fills the window: the corners
# show one background colour. A key press and a click then lead to the
# menu's background (a logo gives way to the menu; the menu stays).
check_first_screen() {  # name left top right bottom
    screenshot "$1"
    local a b
    a=$(pixel "$2" "$3")
    b=$(pixel "$4" "$5")
    [ -n "$a" ] && [ "$a" = "$b" ] && [ "$a" != 000000 ] ||
        fail "$1: the corners show $a and $b, not one background colour"
}

# 1. Windowed at 640x480: picture, input, close.
write_options 640 480 0
if start_game; then
    read -r X Y W H <<<"$(geometry)"
    [ "$W" = 640 ] && [ "$H" = 480 ] || fail "window is ${W}x${H}, expected 640x480"
    check_first_screen first-screen $((X + 2)) $((Y + 2)) $((X + 637)) $((Y + 477))
    timeout 5 xdotool mousemove --sync $((X + 320)) $((Y + 240))
    xdotool key space
    timeout 5 xdotool mousemove --sync $((X + 3)) $((Y + 3))
    xdotool click 1
    sleep 1
    screenshot after-input
    expect_pixel $((X + 2)) $((Y + 2)) $BACKGROUND "background after input"
    expect_pixel $((X + 637)) $((Y + 477)) $BACKGROUND "background after input"
    close_and_wait
    expect_options 640 480 0
fi

# 2. Windowed at 800x600, then Alt+Enter: full screen, kept in the options.
write_options 800 600 0
if start_game; then
    read -r X Y W H <<<"$(geometry)"
    [ "$W" = 800 ] && [ "$H" = 600 ] || fail "window is ${W}x${H}, expected 800x600"
    xdotool key --clearmodifiers alt+Return
    sleep 1
    read -r X Y W H <<<"$(geometry)"
    [ "$W" = 1024 ] && [ "$H" = 768 ] || fail "after Alt+Enter the window is ${W}x${H}, expected 1024x768"
    close_and_wait
    expect_options 800 600 1
fi

# 3. Full screen at 640x480: the picture scaled over the whole display.
write_options 640 480 1
if start_game; then
    read -r X Y W H <<<"$(geometry)"
    [ "$W" = 1024 ] && [ "$H" = 768 ] || fail "full-screen window is ${W}x${H}, expected 1024x768"
    check_first_screen full-screen 2 2 1021 765
    xdotool key space
    sleep 1
    screenshot full-screen-after-input
    expect_pixel 2 2 $BACKGROUND "full-screen background"
    expect_pixel 1021 765 $BACKGROUND "full-screen background"
    close_and_wait
    expect_options 640 480 1
fi

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed; screenshots in $SHOTS"
    exit 1
fi
echo "window check passed; screenshots in $SHOTS"
