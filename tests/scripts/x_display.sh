# Shared by the real-window checks, sourced once GAME (the built game folder)
# and SHOTS (the screenshot folder) are set. Gives a scratch folder with a copy
# of the game, a virtual X display with a window manager, failure counting,
# pixel reading and clean-up of everything started.

FAILURES=0
note() {
    echo "[${SECONDS}s] $*"
}
fail() {
    echo "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}

# Exits 77 (skipped) when any of the named tools is missing, 1 when the game
# was not built.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is not installed"
            exit 77
        fi
    done
    if [ ! -x "$GAME/quorvo" ]; then
        echo "FAIL: $GAME/quorvo was not built"
        exit 1
    fi
}

WORK=
XVFB_PID=
WM_PID=
GAME_PID=
source "$(dirname "$0")/stop_game.sh"
cleanup() {
    stop_game
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "$WORK" ] && rm -rf "$WORK"
}

# start_display <scratch name> <first display number to try> <screen WxHxD>
# Makes the scratch folder with the game copied into it (the game writes its
# saves into the copy; OPTIONS names its options file), then starts Xvfb on a
# display number nobody uses, and openbox on it.
start_display() {
    WORK=$(mktemp -d "/tmp/quorvo-$1-XXXXXX")
    trap cleanup EXIT
    local n=$2
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "$3" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    sleep 0.5

    unset SDL_VIDEODRIVER
    mkdir -p "$SHOTS"
    cp -r "$GAME" "$WORK/game"
    mkdir -p "$WORK/game/Data"
    OPTIONS="$WORK/game/Data/GameOpts.opt"
}

# Colour of pixel (x, y) of the last screenshot, as RRGGBB.
SHOT=
pixel() {
    convert "$SHOT" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1 | tr -d '#'
}

# Waits for the game to end (ten seconds unless told otherwise); fails with
# the given text and kills it, with the given signal, when it does not.
wait_for_exit() {  # what failed [tenths of a second] [signal]
    for _ in $(seq "${2:-100}"); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$GAME_PID" 2>/dev/null; then
        fail "$1"
        kill "-${3:-TERM}" "$GAME_PID"
    fi
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=
}

# The game started from its copy (the window in WID), screenshots, keys and
# picture comparisons, for the checks that walk through the screens.
start_game() {
    (cd / && exec "$WORK/game/quorvo") >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WID=
    for _ in $(seq 300); do
        WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Quorvo$' 2>/dev/null | head -n 1)
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
}

# shot NAME: the window's picture as NAME.png in the screenshot folder.
shot() {
    SHOT="$SHOTS/$1.png"
    for _ in 1 2 3; do
        timeout 5 import -window "$WID" "$SHOT" 2>/dev/null && return 0
        sleep 0.3
    done
    fail "no screenshot $1"
}

# press KEY...: the keys one after another, then time for the screen to follow.
press() {
    xdotool key --delay 150 "$@"
    sleep 0.8
}

# Pixels that differ between two screenshots inside the region WxH+X+Y.
region_difference() { # shot-a shot-b region
    convert "$SHOTS/$1.png" -crop "$3" +repage "$WORK/a.png" &&
        convert "$SHOTS/$2.png" -crop "$3" +repage "$WORK/b.png" &&
        compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 | cut -d' ' -f1
}

# expect_change shot-a shot-b region what: the region changed between the two.
expect_change() {
    local n
    n=$(region_difference "$1" "$2" "$3")
    [ -n "$n" ] && [ "$n" -gt 100 ] || fail "$4 (only ${n:-no} pixels changed in $3)"
}
