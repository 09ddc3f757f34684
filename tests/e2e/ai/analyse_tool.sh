#!/bin/sh
# vartok-analyse: its refusals, a side without any legal move, and a move made.
set -u
analyse=$1
fail() { echo "$1"; exit 1; }

"$analyse" --turn 1 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" >/dev/null 2>&1
[ $? -eq 2 ] || fail "--turn 1 was not refused with status 2"
"$analyse" "not a position" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a bad FEN was not refused with status 2"

"$analyse" --turn 10 "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a position with the side not to move in check was not refused"
"$analyse" "8/8/8/8/8/3k4/3K4/8 w - - 0 1" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a position with the kings next to each other was not refused"

# A refusal says what is wrong.
err=$("$analyse" --turn 99999999999 "4k3/8/8/8/8/8/8/4K2R w - - 0 1" 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "--turn 99999999999 was not refused with status 2"
[ "$err" = "vartok-analyse: the half-move number must be from 2 to 4294967295" ] ||
    fail "--turn 99999999999 was refused with: $err"
err=$("$analyse" "4k3/8/8/8/8/8/8/4K2$(printf '\303\251') w - - 0 1" 2>&1 >/dev/null)
[ "$err" = "vartok-analyse: Unknown piece letter or too many squares: '\\xC3'." ] ||
    fail "a non-ASCII piece letter was echoed as: $err"

# The move-count rule keeps the turn-start test away; the computer finds no move at all,
# and the position is printed unchanged.
out=$("$analyse" "k7/2Q5/1K6/8/8/8/8/8 b - - 60 80" 2>/dev/null)
[ $? -eq 0 ] || fail "stalemate without a move did not end with status 0"
expected=$(printf 'depth 3: Analyzed 0 possible situations.\nStalemate.\nFEN: k7/2Q5/1K6/8/8/8/8/8 b - - 60 80')
[ "$out" = "$expected" ] || fail "stalemate without a move printed: $out"

out=$("$analyse" "k7/1Q6/1K6/8/8/8/8/8 b - - 60 80" 2>/dev/null)
[ $? -eq 0 ] || fail "checkmate without a move did not end with status 0"
expected=$(printf 'depth 3: Analyzed 0 possible situations.\nCheckmate. White won.\n\nFEN: k7/1Q6/1K6/8/8/8/8/8 b - - 60 80')
[ "$out" = "$expected" ] || fail "checkmate without a move printed: $out"

# Scholar's mate: found at once, no pass line, and the position after it.
out=$("$analyse" "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4" 2>/dev/null)
last=$(printf '%s\n' "$out" | tail -2)
expected=$(printf '7: Moving h5 to f7 (score: 2147483746)\nFEN: r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4')
[ "$last" = "$expected" ] || fail "scholar's mate gave: $out"

# One thread and all cores print the same.
fen="r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"
one=$("$analyse" --threads 1 --blunders 4 --seed 3 --depth2 5 "$fen" 2>/dev/null)
two=$("$analyse" --threads 2 --blunders 4 --seed 3 --depth2 5 "$fen" 2>/dev/null)
[ "$one" = "$two" ] || fail "threads changed the analysis"
exit 0
