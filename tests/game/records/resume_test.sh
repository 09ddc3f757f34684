#!/usr/bin/env bash
# Two-person games cut at a random half-move, resumed from the record of the cut game and fed
# the rest of their input, end with the same board, the same exit status and the same record
# as the uncut game.
set -uo pipefail
vartok=$1
random_game=$2
source "$(dirname "$0")/record_lib.sh"
games=${GAMES:-12}
RANDOM=2026
for seed in $(seq 1 "$games"); do
    # At most 60 half-moves: the move-count draw, the only random draw of such a game, never
    # comes up.
    "$random_game" "$seed" 60 >"$dir/moves.txt"
    rm -f "$dir/full.pgn" "$dir/cut.pgn" "$dir/resumed.pgn" # PGN= adds to what is there
    as_input <"$dir/moves.txt" | timeout 60 "$vartok" BLACK_HUMAN PGN="$dir/full.pgn" \
        >"$dir/full.out" 2>&1
    full_status=$?
    played=$(san_tokens "$dir/full.pgn" | wc -l)
    if ((played < 2)); then
        echo "game $seed: only $played half-moves"
        failures=$((failures + 1))
        continue
    fi
    cut=$((1 + RANDOM % (played - 1)))
    head -n "$cut" "$dir/moves.txt" | as_input |
        timeout 60 "$vartok" BLACK_HUMAN PGN="$dir/cut.pgn" >"$dir/cut.out" 2>&1
    tail -n +"$((cut + 1))" "$dir/moves.txt" | as_input |
        timeout 60 "$vartok" RESUME="$dir/cut.pgn" PGN="$dir/resumed.pgn" >"$dir/resumed.out" 2>&1
    resumed_status=$?
    problem=""
    if [[ $(last_board_placement "$dir/full.out") != $(last_board_placement "$dir/resumed.out") ]]; then
        problem="the boards differ"
    elif [[ $full_status -ne $resumed_status ]]; then
        problem="exit status $resumed_status, uncut $full_status"
    elif ! cmp -s "$dir/full.pgn" "$dir/resumed.pgn"; then
        problem="the records differ: $(diff "$dir/full.pgn" "$dir/resumed.pgn" | head -5)"
    elif ! check_record "$dir/resumed.pgn" "$dir/resumed.out"; then
        problem="the resumed record does not read back to its board"
    fi
    verdict "game $seed cut after $cut of $played half-moves" "$problem" "same board and record"
done
echo "$games games, $failures failed"
[[ $failures -eq 0 ]]
