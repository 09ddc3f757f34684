#!/usr/bin/env bash
# vartok-elo-fit reads a player's games against anchors from PGN and fits its Elo;
# vartok-ladder-svg draws the rows it prints as a well-formed SVG picture.
# Usage: elo_tools_test.sh VARTOK_ELO_FIT VARTOK_LADDER_SVG
set -u
fit=$1 ladder=$2
source "$(dirname "$0")/../../../tools/check_lib.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

for tool in "$fit" "$ladder"; do
    "$tool" --help >"$dir/help" 2>&1
    check "$(basename "$tool") --help ends with status 0" [ $? = 0 ]
    check "$(basename "$tool") --help prints its usage" grep -q "^usage: " "$dir/help"
done

game() { # WHITE BLACK RESULT
    printf '[Event "m"]\n[White "%s"]\n[Black "%s"]\n[Result "%s"]\n\n1. e4 %s\n\n' "$1" "$2" "$3" "$3"
}
{
    game P Zero 1-0
    game Zero P 0-1
    game P Zero 1/2-1/2
    game Zero P 1/2-1/2
    game P Other 0-1 # not an anchor
    game P Zero '*'  # unfinished
} >"$dir/games.pgn"
"$fit" --player P --anchor Zero=0 "$dir/games.pgn" >"$dir/fit.out"
check "the fit ends with status 0" [ $? = 0 ]
check "3 of 4 points against a 0 anchor is +191" grep -q "^Elo 191, 95% interval" "$dir/fit.out"
check "games without an anchor are left out and counted" grep -q "^2 games left out" "$dir/fit.out"
row=$("$fit" --player P --anchor Zero=1000 --row ELO=1200,1200 "$dir/games.pgn")
check "a row for the ladder" grep -qE '^ELO=1200 1200 1191 -?[0-9]+ [0-9]+ 4$' <<<"$row"
"$fit" --score 1000=1/2 >/dev/null 2>"$dir/bad.err"
check "a bad score ends with status 2" [ $? = 2 ]
check "a bad score is named" grep -q "bad --score '1000=1/2'" "$dir/bad.err"
"$fit" --player Nobody --anchor Zero=0 "$dir/games.pgn" >/dev/null 2>&1
check "no game of the player ends with status 1" [ $? = 1 ]

cat >"$dir/ladder.txt" <<'ROWS'
# word asked measured low high games
ELO=1000 1000 1043 960 1120 120
ELO=1500 1500 1523 1460 1588 120
ELO=max 2600 2450 2300 - 60
LEVEL=1 - 640 - 797 40
LEVEL=8 - 1210 1150 1270 80
LEVEL=2 - - - 600 40
LEVEL=3 - 610 -300 900 40
ROWS
"$ladder" --title "Ladder & levels" "$dir/ladder.txt" "$dir/ladder.svg"
check "the picture is drawn" [ $? = 0 ]
check "the picture is well-formed XML" xmllint --noout "$dir/ladder.svg"
check "a point for each setting" [ "$(grep -c '<circle' "$dir/ladder.svg")" = 3 ]
check "the classic levels are marked" eval 'grep -q ">LEVEL=1 640<" "$dir/ladder.svg" && grep -q ">LEVEL=8 1210<" "$dir/ladder.svg"'
check "a level that lost every game is marked by its bound" grep -q ">LEVEL=2 below 600<" "$dir/ladder.svg"
# Close levels' names stand apart; a wide interval does not stretch the scale below 0.
label_heights=$(grep -o '<text x="[0-9.]*" y="[0-9.]*" font-size="11" fill' "$dir/ladder.svg" |
    sed 's/.*y="//; s/".*//' | sort -n)
check "the levels' names do not overlap" eval 'awk "NR > 1 && \$1 - last < 12 {bad = 1} {last = \$1} END {exit bad}" <<<"$label_heights"'
check "the scale starts at 400" eval 'grep -q ">400</text>" "$dir/ladder.svg" && ! grep -q ">200</text>" "$dir/ladder.svg"'
check "the title is escaped" grep -q "Ladder &amp; levels" "$dir/ladder.svg"
# Higher Elo stands higher: the points' heights fall as the measured Elo rises.
heights=$(grep -o '<circle cx="[0-9.]*" cy="[0-9.]*"' "$dir/ladder.svg" | sed 's/.*cy="//; s/"//')
check "a stronger setting stands higher" eval '[ "$(sort -rn <<<"$heights")" = "$heights" ]'

printf 'ELO=1000 1000 1043 1200 1120 120\n' >"$dir/bad.txt"
"$ladder" "$dir/bad.txt" "$dir/bad.svg" 2>"$dir/bad.err"
check "a bad row ends with status 2" [ $? = 2 ]
check "a bad row is named by its line" grep -q "line 1:" "$dir/bad.err"
check "nothing is written for a bad row" [ ! -e "$dir/bad.svg" ]
finish_checks elo_tools_test
