# Sourced by the scripts that start the game on a virtual display (GAME_PID
# holds the game's process).

# The game is asked to end and given a few seconds to close its window while
# the display is still there; a game whose display vanished in the middle of
# closing could wait on it for ever.
stop_game() {
    [ -n "$GAME_PID" ] || return 0
    kill "$GAME_PID" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$GAME_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$GAME_PID" 2>/dev/null
}
