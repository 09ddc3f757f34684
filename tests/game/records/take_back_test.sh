#!/usr/bin/env bash
# Two-person games with COMMANDS in which the persons now and then play other moves and take
# them back with "undo" end with the same board, exit status and record as the same games
# played straight.
set -uo pipefail
vartok=$1
random_game=$2
source "$(dirname "$0")/record_lib.sh"
games=${GAMES:-12}
for seed in $(seq 1 "$games"); do
    for way in straight detours; do
        extra=$([[ $way == detours ]] && echo $((1 + seed % 5)))
        rm -f "$dir/$way.pgn" # PGN= adds to what is there
        "$random_game" "$seed" 60 $extra | as_input |
            timeout 60 "$vartok" BLACK_HUMAN COMMANDS PGN="$dir/$way.pgn" >"$dir/$way.out" 2>&1
        echo $? >"$dir/$way.status"
    done
    takebacks=$(grep -c '^undo$' < <("$random_game" "$seed" 60 $((1 + seed % 5))))
    problem=""
    if [[ $(last_board_placement "$dir/straight.out") != $(last_board_placement "$dir/detours.out") ]]; then
        problem="the boards differ"
    elif ! cmp -s "$dir/straight.status" "$dir/detours.status"; then
        problem="the exit statuses differ"
    elif ! cmp -s "$dir/straight.pgn" "$dir/detours.pgn"; then
        problem="the records differ: $(diff "$dir/straight.pgn" "$dir/detours.pgn" | head -4)"
    elif grep -q "There is no move to take back." "$dir/detours.out"; then
        problem="a take-back was refused"
    elif ! check_record "$dir/detours.pgn" "$dir/detours.out"; then
        problem="the record does not read back to the board"
    fi
    verdict "game $seed ($takebacks take-backs)" "$problem" "the same game"
done
echo "$games games, $failures failed"
[[ $failures -eq 0 ]]
