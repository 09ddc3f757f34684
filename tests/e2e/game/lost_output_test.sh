#!/usr/bin/env bash
# A game whose standard output cannot be written stops with status 1 and one line on
# standard error naming the cause; a closed pipe still ends it with SIGPIPE.
# Usage: lost_output_test.sh VARTOK
set -u
vartok=$1
work=$(mktemp -d)
# A words file of the person running the tests must not change the games.
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"' EXIT
# The games keep their records here, not in the home folder, each run at places of its own:
# a game left unfinished would be named on standard error by the next one.
export XDG_DATA_HOME=$work/data
places() { export XDG_STATE_HOME=$work/state$1; }
source "$(dirname "$0")/../../../tools/check_lib.sh"
expected="vartok: could not write to standard output: $(
    python3 -c 'import os, errno; print(os.strerror(errno.ENOSPC))' 2>/dev/null ||
        echo 'No space left on device')"

# The computer plays both sides; every message is acknowledged.
places 1
yes '' | timeout 60 "$vartok" WHITE_AI DEPTH1=1 DEPTH2=1 >/dev/full 2>"$work/err"
status=$?
check "a computer game into /dev/full ends with status 1" [ "$status" = 1 ]
check "one line on standard error names the cause" [ "$(cat "$work/err")" = "$expected" ]

# The same game twice, its random numbers held still by the frozen clock: into a file, then
# into /dev/full. The lost output must stop it at the next turn, long before the first
# CHECK, which would be the first prompt to notice. (A game whose first CHECK comes within
# the first 8 KiB shows nothing here and is not judged.)
if command -v faketime >/dev/null; then
    held_game() {
        yes '' | head -n 400 | faketime '2026-01-01 13:00:00' timeout 60 "$vartok" WHITE_AI \
            DEPTH1=1 DEPTH2=1 PGN="$work/$1.pgn"
    }
    held_game written >"$work/written.out" 2>/dev/null
    held_game lost >/dev/full 2>/dev/null
    check_line=$(grep -n -m 1 '^CHECK\.$' "$work/written.out" | cut -d: -f1)
    if [[ -n $check_line ]] && (($(head -n "$check_line" "$work/written.out" | wc -c) > 8192)); then
        turns_to_check=$(head -n "$check_line" "$work/written.out" | grep -c "'s turn\.$")
        kept=$(grep -v '^\[' "$work/lost.pgn" | tr ' ' '\n' | grep -cE '^[a-hNBRQKO]')
        check "a computer game into /dev/full stops at the next turn ($kept of $turns_to_check half-moves)" \
            [ "$kept" -lt $((turns_to_check - 1)) ]
    fi
fi

# A person's game stops at the first prompt whose output cannot be written.
places 2
printf 'e2\ne4\n' | timeout 60 "$vartok" BLACK_HUMAN >/dev/full 2>"$work/err"
status=$?
check "a person's game into /dev/full ends with status 1" [ "$status" = 1 ]
check "one line on standard error for a person's game" [ "$(cat "$work/err")" = "$expected" ]

# A game that ends on its own (end of input) without a chance to notice before its exit.
places 3
timeout 60 "$vartok" </dev/null >/dev/full 2>"$work/err"
status=$?
check "the last output lost at exit is reported" \
    eval '[ "$status" = 1 ] && [ "$(cat "$work/err")" = "$expected" ]'

places 4
timeout 10 "$vartok" --help >/dev/full 2>"$work/err"
status=$?
check "--help into /dev/full ends with status 1" \
    eval '[ "$status" = 1 ] && [ "$(cat "$work/err")" = "$expected" ]'

# A reader that goes away: the usual SIGPIPE end, nothing on standard error. Squares that do
# not exist keep the game printing for ever, so it cannot finish into the pipe's buffer
# before the reader leaves.
places 5
yes 'x9' | timeout 60 "$vartok" BLACK_HUMAN 2>"$work/err" | head -c 100 >/dev/null
status=${PIPESTATUS[1]}
check "a closed pipe ends the game by SIGPIPE" [ "$status" = 141 ]
check "a closed pipe prints nothing on standard error" [ ! -s "$work/err" ]

# Nothing changes when the output can be written.
places 6
yes '' | timeout 60 "$vartok" WHITE_AI DEPTH1=1 DEPTH2=1 \
    >"$work/out" 2>"$work/err"
check "a written game prints nothing on standard error" [ ! -s "$work/err" ]
check "a written game ends as before" grep -qE "^(Checkmate|Stalemate|Draw|[0-9]+ moves without)" "$work/out"

finish_checks "lost output"
echo "lost output: all checks passed"
