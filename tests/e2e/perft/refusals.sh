#!/bin/sh
# vartok-perft refuses what no game reaches (it would count king captures there) and
# says why; a position one step away from such a one is still counted. An impossible
# en-passant square is ignored with a word on standard error.
set -u
perft=$1
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
refused() { # refused FEN MESSAGE
    err=$("$perft" "$1" 1 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 2 ] || fail "$1: status $status, expected 2"
    [ "$err" = "vartok-perft: $2" ] || fail "$1: said '$err'"
}
refused "4k3/8/8/8/8/8/8/4K2r b - - 0 1" "the side not to move is in check"
refused "4k3/8/8/8/8/3n4/8/4K3 b - - 0 1" "the side not to move is in check"
refused "8/8/8/8/8/3k4/3K4/8 w - - 0 1" "the kings stand next to each other"
refused "8/8/8/8/8/4k3/3K4/8 b - - 0 1" "the kings stand next to each other"
refused "4k3/8/8/8/8/8/8/4K2$(printf '\303\251') w - - 0 1" \
    "Unknown piece letter or too many squares: '\\xC3'."

# The side to move in check is an ordinary position: the king steps off the first rank.
out=$("$perft" "4k3/8/8/8/8/8/8/4K2r w - - 0 1" 1)
[ $? -eq 0 ] || fail "a king in check to move was refused"
printf '%s\n' "$out" | grep -q "Nodes searched: 3$" || fail "king in check: $out"
printf '%s\n' "$out" | grep -q "^e1[a-h]1" && fail "a move along the attacked rank was listed: $out"

# An en-passant square no double step can have crossed is counted without, and named.
err=$("$perft" "4k3/8/4N3/3Pp3/8/8/8/4K3 w - e6 0 1" 1 2>&1 >/dev/null)
[ "$err" = "vartok-perft: the en-passant square e6 is ignored: e6 is not empty" ] ||
    fail "the ignored en-passant square was not named: '$err'"
err=$("$perft" "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1" 1 2>&1 >/dev/null)
[ -z "$err" ] || fail "a usable en-passant square was named: '$err'"

[ "$failures" -eq 0 ] || { echo "perft refusals: $failures check(s) failed"; exit 1; }
echo "perft refusals: all checks passed"
