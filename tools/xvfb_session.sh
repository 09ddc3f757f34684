# Shared by the scripts that run the game in a real window under Xvfb (needs xvfb, xdotool).
# Source it, then call start_xvfb WORK_DIR and, once the game runs, wait_for_window.

# Starts a display of its own (Xvfb picks a free number and writes it to fd 3); sets
# xvfb_pid and DISPLAY. Returns 1 with Xvfb's log when it does not start. -noreset: without
# it the server resets whenever its last client leaves (a game that ended, each xdotool
# call), and a game starting during the reset finds no display and plays in text mode.
start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { cat "$work/xvfb.log"; return 1; }
    export DISPLAY=":$(head -1 "$work/display")"
}

# Waits up to 30 s (a loaded machine is slow to start a window) for the window titled
# Vartok; sets win, returns 1 when none appears.
wait_for_window() {
    win=
    for _ in $(seq 300); do
        win=$(xdotool search --name '^Vartok$' 2>/dev/null | head -1)
        [ -n "$win" ] && return 0
        sleep 0.1
    done
    return 1
}

# For the window tests: skips the test (status 77) without Xvfb, fails without the other
# tools named, then makes the scratch folder $work, removed at exit together with the game
# ($game_pid) and the server ($xvfb_pid), starts the server, and keeps records inside $work.
begin_window_test() {
    command -v Xvfb >/dev/null || { echo "FAIL: Xvfb is not installed (tools/install-packages.sh test installs it)"; exit 1; }
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
    done
    work=$(mktemp -d)
    xvfb_pid= game_pid=
    trap end_window_test EXIT
    export XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    start_xvfb "$work" || { echo "FAIL: Xvfb did not start"; exit 1; }
}

end_window_test() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}

source "$(dirname "${BASH_SOURCE[0]}")/check_lib.sh"

# close_window_and_wait TENTHS: closes the window $win with $close_window and waits up to
# TENTHS tenths of a second for the game ($game_pid) to end; its exit status goes into
# $closed_status ("running" when it did not end).
close_window_and_wait() {
    "$close_window" "$win"
    closed_status=running
    for _ in $(seq "$1"); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            wait "$game_pid"
            closed_status=$?
            break
        fi
        sleep 0.1
    done
    game_pid=
}

# await NAME COMMAND...: takes screenshots NAME with the script's own `shot` until COMMAND...
# holds for it, for up to 10 s: the game redraws at its own pace, more slowly on a loaded
# machine.
await() {
    local name=$1
    shift
    for _ in $(seq 100); do
        shot "$name"
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# For the scripts that play the game ($vartok) in its window: start_game WORDS... starts it
# with GRAPHICS and the words, its record in $work/game.pgn (made anew) and its output in
# $work/stdout and $work/stderr, and focuses its window ($win).
start_game() {
    rm -f "$work/game.pgn"
    "$vartok" GRAPHICS "$@" PGN="$work/game.pgn" </dev/null >"$work/stdout" 2>"$work/stderr" &
    game_pid=$!
    # Up to 30 s: a loaded machine may be slow to map the window.
    for _ in 1 2 3; do wait_for_window && break; done
    [ -n "$win" ] || {
        echo "FAIL: no window titled Vartok"
        cat "$work/stdout" "$work/stderr"
        exit 1
    }
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool mousemove --window "$win" 300 300
}

# Closes the window and checks that the game ends with status 0.
close_game() {
    close_window_and_wait 50
    check "closing the window ends the game with status 0" [ "$closed_status" = 0 ]
}

# output_has LINE [N]: waits up to 10 s for the whole line in the game's standard output, N
# times.
output_has() {
    for _ in $(seq 100); do
        [ "$(grep -cxF -- "$1" "$work/stdout")" -ge "${2:-1}" ] && return 0
        sleep 0.1
    done
    return 1
}

# The SAN moves of the game's record, one a line.
record_moves() {
    grep -v '^\[' "$work/game.pgn" | tr -s ' \n' '\n\n' | grep -vE '^([0-9]+\.+|\*|)$'
}

# The colours inside the square at row ROW, column COL of the picture (not of the board) in
# the screenshot $work/SHOT.png; square_has SHOT ROW COL COLOUR, square_lacks alike.
square_colours() {
    local name=$1 row=$2 col=$3
    convert "$work/$name.png" -crop "48x48+$(((8 + col * 24) * 2))+$((row * 48))" +repage \
        -format "%c" histogram:info:
}
square_has() { grep -q "#$4" <<<"$(square_colours "$1" "$2" "$3")"; }
square_lacks() { ! square_has "$@"; }

# finish_window_test NAME: the game's output and status 1 when a check failed, else a line
# that all passed.
finish_window_test() {
    if [ "$failures" -ne 0 ]; then
        echo "--- stdout"; tail -30 "$work/stdout"; echo "--- stderr"; cat "$work/stderr"
        echo "$1: $failures check(s) failed"
        exit 1
    fi
    echo "$1: all checks passed"
}
