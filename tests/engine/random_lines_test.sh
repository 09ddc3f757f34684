#!/usr/bin/env bash
# Thousands of random protocol lines: the engine never crashes or hangs, answers every go
# with exactly one well-formed bestmove, writes nothing to standard error, still answers
# isready at the end and exits with status 0 at the end of its input.
set -uo pipefail
engine=$1
random_lines=$2
count=${3:-5000}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
for seed in 1 2 3 4; do
    "$random_lines" "$seed" "$count" >"$dir/in" 2>"$dir/go_count"
    printf 'isready\n' >>"$dir/in"
    timeout 240 "$engine" <"$dir/in" >"$dir/out" 2>"$dir/err"
    status=$?
    gos=$(cat "$dir/go_count")
    answers=$(grep -ac '^bestmove ' "$dir/out")
    malformed=$(grep -a '^bestmove ' "$dir/out" | grep -cvE '^bestmove ([a-h][1-8][a-h][1-8][qrbn]?|0000)$')
    problem=""
    ((status == 0)) || problem="exit status $status"
    [[ -s $dir/err ]] && problem="standard error: $(head -c 300 "$dir/err")"
    ((answers == gos)) || problem="$gos go commands, $answers bestmove lines"
    ((malformed == 0)) || problem="$malformed malformed bestmove lines"
    grep -aq '^readyok$' "$dir/out" || problem="no readyok"
    if [[ -n $problem ]]; then
        echo "seed $seed: $problem"
        tail -n 5 "$dir/out"
        failures=$((failures + 1))
    else
        echo "seed $seed: $gos searches, $(grep -ac '^info string' "$dir/out") info strings"
    fi
done
echo "4 runs, $failures failed"
((failures == 0))
