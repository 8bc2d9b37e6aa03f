#!/bin/bash
# Prints the game's frame figures side by side: idle processor time of the
# real game on the main menu against a bare SDL window waiting on events,
# start to first frame, play-screen entries (straight after a change of size,
# and the player's way with its pictures rendered ahead) and the warm
# main-menu entry, and a busy
# Marathon paced at 60 frames a second with the bytes it presents against the
# whole-window figure. Processor time is per cent of one core.
#
#   bench/frame-figures.sh [build folder] [X display number]
#
# Needs Xvfb and xdotool. Takes about a minute.
set -u
BUILD=$(cd "${1:-build}" && pwd)
DISPLAY_NUMBER=${2:-61}
BENCH="$BUILD/bench/bench_FrameBench"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "needs $tool"; exit 1; }
done
[ -x "$BENCH" ] && [ -x "$BUILD/game/quorvo" ] || { echo "build bench_FrameBench and quorvo first"; exit 1; }

WORK=$(mktemp -d /tmp/quorvo-frames-XXXXXX)
XVFB_PID=
GAME_PID=
source "$(dirname "$0")/../tests/scripts/stop_game.sh"
cleanup() {
    stop_game
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
TICK=$(getconf CLK_TCK)

# Processor ticks (user + system) of a process or of one of its threads.
ticks() {  # /proc/<pid>[/task/<tid>]
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "$1/stat" 2>/dev/null || echo 0
}
percent() {  # ticks seconds
    awk -v t="$1" -v s="$2" -v hz="$TICK" 'BEGIN { printf "%.2f", t / hz / s * 100 }'
}

# --- idle on the main menu ---
cp -r "$BUILD/game" "$WORK/game"
mkdir -p "$WORK/game/Data"
printf '<opts>\n\t<display width="1024" height="768" fullscreen="0"/>\n\t<sounds volume="0.50"/>\n\t<music volume="0.75"/>\n</opts>\n' \
    >"$WORK/game/Data/GameOpts.opt"
(cd / && exec "$WORK/game/quorvo") >"$WORK/game.log" 2>&1 &
GAME_PID=$!
WID=
for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Quorvo$' 2>/dev/null | head -n 1)
    [ -n "$WID" ] && break
    sleep 0.1
done
sleep 1
xdotool windowfocus "$WID" 2>/dev/null
xdotool key --window "$WID" Escape # skips the logo
sleep 3                             # the menu is drawn and its music starts
before=$(ticks "/proc/$GAME_PID")
beforeMain=$(ticks "/proc/$GAME_PID/task/$GAME_PID")
sleep 10
after=$(ticks "/proc/$GAME_PID")
afterMain=$(ticks "/proc/$GAME_PID/task/$GAME_PID")
kill "$GAME_PID" 2>/dev/null
wait "$GAME_PID" 2>/dev/null
GAME_PID=
IDLE=$(percent $((after - before)) 10)
IDLE_MAIN=$(percent $((afterMain - beforeMain)) 10)
FLOOR=$("$BENCH" floor | awk '{ print $3 }')

# --- start, entries, Marathon ---
field() {  # line name -> the value after name
    awk -v name="$2" '{ for (i = 1; i < NF; ++i) if ($i == name) print $(i + 1) }' <<<"$1"
}
S640=$("$BENCH" start 640 480)
S1024=$("$BENCH" start 1024 768)
S2048=$("$BENCH" start 2048 1536)
PLAY=$("$BENCH" play)
PLAY_AHEAD=$("$BENCH" play-ahead)
MENU=$("$BENCH" menu)
xBefore=$(ticks "/proc/$XVFB_PID")
MARATHON=$("$BENCH" marathon)
xAfter=$(ticks "/proc/$XVFB_PID")

printf '%-52s %14s  %s\n' "figure" "measured" "target"
row() { printf '%-52s %14s  %s\n' "$1" "$2" "$3"; }
row "idle on the main menu, 10 s, whole process (% core)" "$IDLE" "<= 1"
row "  of which the main thread (% core)" "$IDLE_MAIN" ""
row "  floor: bare SDL window waiting on events (% core)" "$FLOOR" ""
row "start to first frame 640x480 (ms wall / cpu)" "$(field "$S640" wall_ms) / $(field "$S640" cpu_ms)" ""
row "start to first frame 1024x768 (ms wall / cpu)" "$(field "$S1024" wall_ms) / $(field "$S1024" cpu_ms)" "<= 100"
row "start to first frame 2048x1536 (ms wall / cpu)" "$(field "$S2048" wall_ms) / $(field "$S2048" cpu_ms)" "<= 250"
row "  peak memory at 2048x1536 (MiB)" "$(field "$S2048" peak_mib)" ""
row "play-screen entry at 2048x1536 (ms wall / cpu)" "$(field "$PLAY" wall_ms) / $(field "$PLAY" cpu_ms)" "<= 60"
row "  from the level choice, rendered ahead (ms wall / cpu)" "$(field "$PLAY_AHEAD" wall_ms) / $(field "$PLAY_AHEAD" cpu_ms)" ""
row "    rendered ahead while the choice idled (ms cpu)" "$(field "$PLAY_AHEAD" ahead_cpu_ms)" ""
row "warm main-menu entry at 2048x1536 (ms wall / cpu)" "$(field "$MENU" wall_ms) / $(field "$MENU" cpu_ms)" "<= 5"
row "busy Marathon 1024x768 at 60 Hz, game (% core)" "$(field "$MARATHON" cpu_pct)" "<= 5"
row "  X server meanwhile (% core)" "$(percent $((xAfter - xBefore)) 10)" ""
row "  presents per second" "$(field "$MARATHON" presents_per_s)" ""
row "  bytes presented per second" "$(field "$MARATHON" bytes_per_s)" ""
row "  the same presents as whole windows (bytes/s)" "$(field "$MARATHON" whole_window_bytes_per_s)" ""
