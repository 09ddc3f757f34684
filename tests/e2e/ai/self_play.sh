#!/usr/bin/env bash
# A whole game of the computer against itself at small depths, with the clock fixed so that
# the random draws are the same every run: the transcript must check out, and a second run
# must print exactly the same.
set -u
vartok=$1
check=$2
dir=$(mktemp -d)
# A words file of the person running the tests must not change the games.
export XDG_CONFIG_HOME=$dir/config
trap 'rm -rf "$dir"' EXIT
# Only the calendar clock is fixed; the search's own timing uses the monotonic clock.
export FAKETIME_DONT_FAKE_MONOTONIC=1
# A sanitizer build would refuse the preloaded clock library otherwise.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
run() {
    # -f: the calendar clock stands still. Without it, it runs on from that time, and a slow
    # start (the sanitizer build on a loaded machine) could seed the random draws a second
    # later in one of the two runs.
    yes '' | timeout 300 faketime -f '2024-03-01 12:00:00' "$vartok" WHITE_AI DEPTH1=1 DEPTH2=2 \
        PGN="$1.pgn" >"$1" 2>/dev/null
}
run "$dir/first.txt"
status=$?
if [ "$status" -ne 0 ]; then
    echo "the game ended with status $status"
    tail -5 "$dir/first.txt"
    exit 1
fi
"$check" <"$dir/first.txt" || exit 1
# The game's record reads back, in an independent PGN reader, to the last board shown.
. "$(dirname "$0")/../../support/record_check.sh"
check_record "$dir/first.txt.pgn" "$dir/first.txt" || exit 1
run "$dir/second.txt"
if ! cmp -s "$dir/first.txt" "$dir/second.txt"; then
    echo "two runs with the same clock printed different games"
    exit 1
fi
