# Talking to a UCI engine from a test script (bash): the engine runs as a coprocess, `send`
# writes a line, `expect` reads lines until one matches. Sourced by the engine's tests.

# start_engine COMMAND...: the engine's standard error goes to $session_errors.
start_engine() {
    session_errors=$(mktemp)
    coproc ENGINE { "$@" 2>"$session_errors"; }
    engine_pid=$ENGINE_PID
}

send() {
    printf '%s\n' "$*" >&"${ENGINE[1]}"
}

# expect REGEX [SECONDS]: true once a line matches (it is left in $line); every line read
# is kept in $seen. False after SECONDS (default 30) without such a line, or at the end of
# the engine's output.
expect() {
    local pattern=$1 limit=${2:-30}
    local deadline=$((SECONDS + limit))
    seen=""
    while ((SECONDS < deadline)); do
        if ! IFS= read -r -t "$((deadline - SECONDS))" -u "${ENGINE[0]}" line; then
            return 1
        fi
        seen+="$line"$'\n'
        [[ $line =~ $pattern ]] && return 0
    done
    return 1
}

# expect_bestmove [SECONDS]: the move of the next bestmove line, in $bestmove.
expect_bestmove() {
    expect '^bestmove ' "${1:-60}" || return 1
    bestmove=${line#bestmove }
    bestmove=${bestmove%% *}
}

# stop_engine: quit, and the exit status of the engine.
stop_engine() {
    send quit
    wait "$engine_pid"
}

# legal_by_stockfish STOCKFISH "POSITION WORDS" MOVE: does stockfish list MOVE among the
# legal moves of the position?
legal_by_stockfish() {
    local moves
    moves=$(printf 'position %s\ngo perft 1\nquit\n' "$2" | "$1" | sed -n 's/^\([a-h][1-8][a-h][1-8][qrbn]\?\): 1$/\1/p')
    grep -qx -- "$3" <<<"$moves"
}

# move_of_report: the move in long algebraic notation from the analysis tool's "Moving" and
# "Ascended to" lines on standard input.
move_of_report() {
    awk '
        / Moving [a-h][1-8] to [a-h][1-8] / { move = $3 $5 }
        /^Ascended to / { piece = substr($3, 1, 1); if ($3 == "knight") piece = "n"; move = move piece }
        END { print move }'
}

# analyse_move ANALYSE [OPTIONS...] FEN: the analysis tool's move.
analyse_move() {
    local tool=$1
    shift
    "$tool" "$@" 2>/dev/null | move_of_report
}
