#!/usr/bin/env bash
# Thousands of random lines: the game never crashes or hangs, and ends either with a
# game-ending message or with "End of input." and their exit statuses.
set -uo pipefail
vartok=$1
random_lines=$2
failures=0
source "$(dirname "$0")/../../support/record_check.sh"
dir=$(mktemp -d)
# A words file of the person running the tests must not change the games.
export XDG_CONFIG_HOME=$dir/config
trap 'rm -rf "$dir"' EXIT
endings='^(Checkmate\. (White|Black) won\.|Stalemate\.|Draw: Third repetition\.|Draw: Not enough pieces on the board to continue\.|[0-9]+ moves without pawn move or capture - declaring a draw\.|Draw\.|End of input\.)$'
for seed in 1 2 3 4 5 6 7 8; do
    out=$("$random_lines" "$seed" 5000 |
          timeout 120 "$vartok" BLACK_HUMAN PGN="$dir/$seed.pgn" 2>&1)
    status=$?
    printf '%s\n' "$out" >"$dir/$seed.txt"
    last=$(printf '%s\n' "$out" | grep -v '^$' | tail -n 1)
    if [[ $status -ge 2 ]]; then
        echo "seed $seed: exit status $status"
        printf '%s\n' "$out" | tail -n 20
        failures=$((failures + 1))
    elif ! grep -qE "$endings" <<<"$last"; then
        echo "seed $seed: ends with '$last'"
        failures=$((failures + 1))
    elif [[ $last == "End of input." && $status -ne 1 ]] || [[ $last != "End of input." && $status -ne 0 ]]; then
        echo "seed $seed: '$last' with status $status"
        failures=$((failures + 1))
    elif ! check_record "$dir/$seed.pgn" "$dir/$seed.txt"; then
        echo "seed $seed: the record does not match the game"
        failures=$((failures + 1))
    else
        echo "seed $seed: '$last' ($(grep -c "turn\.$" <<<"$out") half-moves)"
    fi
done
echo "8 runs, $failures failed"
[[ $failures -eq 0 ]]
