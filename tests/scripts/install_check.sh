#!/bin/bash
# Installs the build into a scratch prefix and checks the installed game: the
# files in their places, the desktop entry and metainfo valid (when
# desktop-file-validate and appstreamcli are installed), the icons at their
# sizes, the command line, and the game, moved elsewhere and started through
# a link from another folder, finding its data and saving to $XDG_DATA_HOME
# only. With Xvfb, openbox and xdotool at hand it also starts the installed
# copy in a real window at 1024x768 and takes the screenshots the metainfo
# names (main-menu.png, marathon.png) into the screenshot folder.
#   install_check.sh <build folder> <folder for screenshots>
set -u
BUILD=$1
SHOTS=$2
APP=org.quorvo.Quorvo
FAILURES=0
fail() {
    echo "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}

SCRATCH=$(mktemp -d /tmp/quorvo-install-XXXXXX)
GAME_PID=
XVFB_PID=
WM_PID=
source "$(dirname "$0")/stop_game.sh"
cleanup() {
    stop_game
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

if ! cmake --install "$BUILD" --prefix "$SCRATCH/prefix" >"$SCRATCH/install.log" 2>&1; then
    cat "$SCRATCH/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi

# --- the tree ------------------------------------------------------------------
P=$SCRATCH/prefix
for f in games/quorvo share/games/quorvo/Quorvo.VKR share/applications/$APP.desktop \
    share/metainfo/$APP.metainfo.xml share/man/man6/quorvo.6 share/icons/hicolor/scalable/apps/$APP.svg; do
    [ -s "$P/$f" ] || fail "$f is not installed"
done
[ -x "$P/games/quorvo" ] || fail "games/quorvo cannot be run"
[ -e "$P/games/Data" ] && fail "an empty save folder was installed beside the program"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}'
}
for size in 16 22 24 32 48 64 128 256 512; do
    icon=$P/share/icons/hicolor/${size}x${size}/apps/$APP.png
    if [ ! -s "$icon" ]; then
        fail "no ${size}x${size} icon"
    elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
        fail "the ${size}x${size} icon is $(png_size "$icon")"
    fi
done
grep -q '<svg' "$P/share/icons/hicolor/scalable/apps/$APP.svg" || fail "the scalable icon is no SVG"

if command -v desktop-file-validate >/dev/null 2>&1; then
    out=$(desktop-file-validate "$P/share/applications/$APP.desktop" 2>&1)
    [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate is not installed: the desktop entry was not validated"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$P/share/metainfo/$APP.metainfo.xml" >"$SCRATCH/appstream.log" 2>&1 ||
        { fail "appstreamcli validate:"; cat "$SCRATCH/appstream.log"; }
else
    echo "appstreamcli is not installed: the metainfo file was not validated"
fi
if command -v man >/dev/null 2>&1; then
    MANWIDTH=80 man -l "$P/share/man/man6/quorvo.6" 2>"$SCRATCH/man.log" | grep -q -- '--size' ||
        fail "the manual page does not read: $(cat "$SCRATCH/man.log")"
fi

# --- the command line ----------------------------------------------------------
Q=$P/games/quorvo
"$Q" --version | grep -qx 'Quorvo [0-9.]*' || fail "--version printed $("$Q" --version)"
"$Q" --help | grep -q -- '--size WxH' || fail "--help printed no usage"
for bad in "--bogus" "--size 999x999" "--size" "extra"; do
    # shellcheck disable=SC2086
    SDL_VIDEODRIVER=dummy "$Q" $bad >"$SCRATCH/out.log" 2>"$SCRATCH/err.log"
    status=$?
    [ "$status" -eq 2 ] || fail "quorvo $bad ended with status $status, not 2"
    head -n 1 "$SCRATCH/err.log" | grep -q '^quorvo: ' || fail "quorvo $bad: no one-line error first"
    grep -q '^Usage: quorvo' "$SCRATCH/err.log" || fail "quorvo $bad: no usage"
    [ -s "$SCRATCH/out.log" ] && fail "quorvo $bad printed on standard output"
done

# --- moved, started through a link from elsewhere, no display --------------------
mv "$P" "$SCRATCH/moved"
P=$SCRATCH/moved
mkdir -p "$SCRATCH/bin" "$SCRATCH/xdg/quorvo/Data" "$SCRATCH/home" "$SCRATCH/elsewhere"
ln -s "$P/games/quorvo" "$SCRATCH/bin/quorvo"
SAVED='<opts>
	<display width="640" height="480" fullscreen="1"/>
	<sounds volume="0.50"/>
	<music volume="0.25"/>
</opts>'
echo "$SAVED" >"$SCRATCH/xdg/quorvo/Data/GameOpts.opt"
sleep 1
touch "$SCRATCH/stamp"
(cd "$SCRATCH/elsewhere" && HOME=$SCRATCH/home XDG_DATA_HOME=$SCRATCH/xdg SDL_VIDEODRIVER=dummy \
    SDL_AUDIODRIVER=dummy exec "$SCRATCH/bin/quorvo" --windowed --size 800x600) >"$SCRATCH/game.log" 2>&1 &
GAME_PID=$!
sleep 3
kill -TERM "$GAME_PID" 2>/dev/null
for _ in $(seq 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the installed game did not end on SIGTERM"
wait "$GAME_PID"
status=$?
GAME_PID=
[ "$status" -eq 0 ] || fail "the installed game ended with status $status"
grep -q "could not be found\|Warning" "$SCRATCH/game.log" && fail "the installed game said: $(cat "$SCRATCH/game.log")"
[ "$SCRATCH/xdg/quorvo/Data/GameOpts.opt" -nt "$SCRATCH/stamp" ] ||
    fail "the options were not saved in \$XDG_DATA_HOME/quorvo/Data"
[ "$(cat "$SCRATCH/xdg/quorvo/Data/GameOpts.opt")" = "$SAVED" ] ||
    fail "the command line's choices were saved: $(cat "$SCRATCH/xdg/quorvo/Data/GameOpts.opt")"
written=$(find "$P" "$SCRATCH/home" "$SCRATCH/elsewhere" -newer "$SCRATCH/stamp" -print)
[ -z "$written" ] || fail "the installed game wrote outside \$XDG_DATA_HOME: $written"

# --- a real window at 1024x768: the metainfo's screenshots --------------------------
for tool in Xvfb openbox xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed: no screenshots taken"
        [ "$FAILURES" -eq 0 ] && echo "install check passed" && exit 0
        exit 1
    fi
done
n=63
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$SCRATCH/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=":$n"
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
openbox >"$SCRATCH/openbox.log" 2>&1 &
WM_PID=$!
sleep 0.5
mkdir -p "$SHOTS"
(cd / && HOME=$SCRATCH/home XDG_DATA_HOME=$SCRATCH/xdg SDL_AUDIODRIVER=dummy \
    exec "$P/games/quorvo" --windowed --size 1024x768) >"$SCRATCH/window.log" 2>&1 &
GAME_PID=$!
WID=
for _ in $(seq 300); do
    WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Quorvo$' 2>/dev/null | head -n 1)
    [ -n "$WID" ] && break
    sleep 0.1
done
shot() {
    for _ in 1 2 3; do
        timeout 5 import -window "$WID" "$SHOTS/$1.png" 2>/dev/null && return 0
        sleep 0.3
    done
    fail "no screenshot $1"
}
press() {
    xdotool key --delay 150 "$@"
    sleep 0.8
}
if [ -z "$WID" ]; then
    fail "the installed game opened no window: $(cat "$SCRATCH/window.log")"
else
    timeout 5 xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || xdotool windowfocus "$WID" >/dev/null 2>&1
    sleep 1.5
    press space # past the logo
    sleep 0.5
    shot main-menu
    press p 1
    xdotool type --delay 120 "Player"
    press Return m e
    sleep 2
    press Right space Down space
    shot marathon
    size=$(png_size "$SHOTS/main-menu.png" 2>/dev/null)
    [ "$size" = 1024x768 ] || fail "the main menu screenshot is $size, not 1024x768"
    xdotool key --clearmodifiers alt+F4
    for _ in $(seq 100); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the installed game did not close with its window"
    GAME_PID=
fi

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "install check passed; screenshots in $SHOTS"
