#!/usr/bin/env bash
# Whole reviews: planted blunders found with the right better move, the annotated PGN read
# back by pgn-extract with the game's mainline and an [%eval] on every move, the SVG graph
# well formed, and records that cannot be reviewed refused with status 2 and one line.
# Depth-limited searches, so that every run finds the same.
# Usage: review_test.sh VARTOK_REVIEW PGN_EXTRACT
set -uo pipefail
review=$1
pgn_extract=$2
here=$(dirname "$0")
source "$here/../../../tools/check_lib.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
run() { timeout 60 "$review" --depth 8 --threads 2 "$@"; }

# One line per PGN, so that a wrapped line does not hide a match.
run --summary "$here/planted.pgn#1" >"$dir/queen.txt" 2>"$dir/queen.err"
check "the hung queen is reviewed" [ $? = 0 ]
tr '\n' ' ' <"$dir/queen.txt" >"$dir/queen.flat"
check "3... Nf6 hangs the queen: ??, and the better line saves it" \
    grep -qE '3\.\.\. Nf6 \$4 \{ \[%eval [0-9.]+\] \} \(3\.\.\. Q' "$dir/queen.flat"
check "the summary lists it" grep -qE '^  3\.\.\. Nf6\?\? \(-[0-9.]+\) better 3\.\.\. Q' "$dir/queen.txt"
check "the progress bar is on standard error only" \
    bash -c "grep -q 'Reviewing 8/8 positions' '$dir/queen.err' && ! grep -q Reviewing '$dir/queen.txt'"

# From a FEN: White has Re8# and plays h3, letting Black's extra queen decide.
run "$here/planted.pgn" >"$dir/mate.txt" 2>/dev/null
check "the missed mate in one is ?? with Re8#" \
    grep -qE '^1\. h3 \$4 \{ \[%eval -[0-9.]+\] \} \(1\. Re8#\) \*$' "$dir/mate.txt"
check "the FEN tag is kept" grep -q '^\[FEN "6k1/5ppp/8/8/8/8/q4PPP/4R1K1 w - - 0 1"\]$' "$dir/mate.txt"

# A whole game, ending in mate, through pgn-extract: the same mainline, every move's eval kept.
run --pgn "$dir/opera.pgn" --svg "$dir/opera.svg" "$here/opera.pgn" >"$dir/stdout.txt" 2>/dev/null
check "the review of a whole game succeeds" [ $? = 0 ]
check "with --pgn, standard output stays empty" [ ! -s "$dir/stdout.txt" ]
mainline() { "$pgn_extract" -s --notags --nocomments --novars --nonags -w 1000 "$1" | tr -s ' \n' ' '; }
check "pgn-extract reads the same mainline" [ "$(mainline "$dir/opera.pgn")" = "$(mainline "$here/opera.pgn")" ]
"$pgn_extract" -s --novars -w 1000 "$dir/opera.pgn" >"$dir/extracted.pgn"
check "pgn-extract keeps an [%eval] for each of the 33 moves" \
    [ "$(grep -oE '\[%eval (-?[0-9]+\.[0-9]{2}|#-?[0-9]+)\]' "$dir/extracted.pgn" | wc -l)" = 33 ]
check "the last move mates" grep -q 'Rd8# { \[%eval #0\] } 1-0' "$dir/extracted.pgn"
check "the SVG is well formed" xmllint --noout "$dir/opera.svg"

# Records that cannot be reviewed, and a game without moves.
printf '[Event "x"]\n\n1. e4 e5 2. Ke3 *\n' >"$dir/illegal.pgn"
printf '[Event "x"\n\n1. e4 *\n' >"$dir/broken.pgn"
printf '[Event "empty"]\n[Result "*"]\n\n*\n' >"$dir/empty.pgn"
for bad in "$dir/illegal.pgn" "$dir/broken.pgn" "$dir/missing.pgn" "$here/opera.pgn#2"; do
    run "$bad" >"$dir/bad.out" 2>"$dir/bad.err"
    status=$?
    check "$(basename "$bad"): status 2, one line, nothing written" \
        [ "$status" = 2 -a "$(wc -l <"$dir/bad.err")" = 1 -a ! -s "$dir/bad.out" ]
done
cp "$here/opera.pgn" "$dir/copy.pgn"
run --pgn "$dir/copy.pgn" "$dir/copy.pgn" >/dev/null 2>&1
check "the review is never written over the record it reads" \
    bash -c "[ $? = 2 ] && cmp -s '$here/opera.pgn' '$dir/copy.pgn'"
run --summary "$dir/empty.pgn" >"$dir/empty.out" 2>/dev/null
check "a game without moves is reviewed as empty" \
    bash -c "[ $? = 0 ] && grep -q '^\*$' '$dir/empty.out' && grep -q 'no moves' '$dir/empty.out'"
finish_checks review_test
