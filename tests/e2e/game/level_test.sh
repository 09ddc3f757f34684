#!/usr/bin/env bash
# LEVEL=n plays exactly as the five words of its preset (the table in the README), and words
# after it override single settings.
source "$(dirname "$0")/e2e_lib.sh" "$1"
export FAKETIME_DONT_FAKE_MONOTONIC=1
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
command -v faketime >/dev/null || { echo "faketime not installed: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
presets=(
    ""
    "DEPTH1=1 DEPTH2=1 BLUNDERS=2 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=2 BLUNDERS=20 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=2 BLUNDERS=40 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=2 BLUNDERS=100 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=2 BLUNDERS=255 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=2 BLUNDERS=0 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=3 BLUNDERS=0 DEADEND=1988 LIMIT=548"
    "DEPTH1=2 DEPTH2=4 BLUNDERS=0 DEADEND=1988 LIMIT=548"
)
# A whole game of the computer against itself (a key press after every check): the presets'
# blunder rates, which a few moves rarely tell apart, change its course.
game_with() {
    out=$(yes '' | head -n 3000 |
        faketime -f '2024-03-01 12:00:00' timeout 120 "$vartok" WHITE_AI BLACK_AI "$@" 2>/dev/null)
    echo "$out<<exit $?>>"
}
for level in 1 2 3 4 5 6 7 8; do
    current="LEVEL=$level"
    checks=$((checks + 1))
    [[ $(game_with LEVEL=$level) == "$(game_with ${presets[$level]})" ]] ||
        fail "plays otherwise than ${presets[$level]}"
done
current="a later word overrides one setting"
checks=$((checks + 1))
[[ $(game_with LEVEL=8 DEPTH2=3 BLUNDERS=9) == "$(game_with DEPTH1=2 DEPTH2=3 BLUNDERS=9)" ]] ||
    fail "LEVEL=8 DEPTH2=3 BLUNDERS=9 plays otherwise"
current="an earlier word is overridden by the level"
checks=$((checks + 1))
[[ $(game_with DEPTH1=1 LEVEL=4) == "$(game_with LEVEL=4)" ]] || fail "DEPTH1=1 survived LEVEL=4"
current="a level out of range"
play "LEVEL=0" ""
check_status 2
finish
