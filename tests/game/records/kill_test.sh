#!/usr/bin/env bash
# A computer-against-computer game killed with SIGKILL at random moments: every record left
# on disk is read by pgn-extract without a complaint and holds a beginning of the whole game.
set -uo pipefail
vartok=$1
source "$(dirname "$0")/record_lib.sh"
command -v faketime >/dev/null || { echo "faketime not installed: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
# The same calendar clock, so the same random draws and the same game every run.
export FAKETIME_DONT_FAKE_MONOTONIC=1
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
yes '' | head -n 20000 >"$dir/input"
game() {
    faketime -f '2024-03-01 12:00:00' "$vartok" WHITE_AI DEPTH1=3 DEPTH2=4 PGN="$1" \
        <"$dir/input" >/dev/null 2>&1
}
game "$dir/whole.pgn"
san_tokens "$dir/whole.pgn" >"$dir/whole.txt"
total=$(wc -l <"$dir/whole.txt")
echo "the whole game: $total half-moves"
kills=${KILLS:-12}
RANDOM=7
for i in $(seq 1 "$kills"); do
    record=$dir/killed-$i.pgn
    game "$record" &
    sleep "$((RANDOM % 3)).$(printf %03d $((RANDOM % 1000)))"
    pid=$(pgrep -n -f "PGN=$record")
    [[ -n $pid ]] && kill -9 "$pid"
    wait
    if [[ ! -e $record ]]; then
        echo "kill $i: no record yet"
        continue
    fi
    san_tokens "$record" >"$dir/killed.txt"
    n=$(wc -l <"$dir/killed.txt")
    log=$("$pgn_extract" "$record" 2>&1 >/dev/null)
    problem=""
    if ! grep -q '^1 game matched out of 1\.$' <<<"$log" || grep -qiE 'fail|error|illegal' <<<"$log"; then
        problem="pgn-extract refuses the record: $log"
    elif ! cmp -s "$dir/killed.txt" <(head -n "$n" "$dir/whole.txt"); then
        problem="the record's $n half-moves are not the game's first ones"
    fi
    verdict "kill $i" "$problem" "a valid record of the first $n half-moves"
done
echo "$kills kills, $failures failed"
[[ $failures -eq 0 ]]
