#!/usr/bin/env bash
# vartok-match against engines of both protocols: stockfish (UCI) plays fairymax (xboard),
# on a move time and on clocks, the games read back by pgn-extract; an opponent that dies
# or plays illegal moves loses its games while the match goes on; files are named after
# the opponent; a clean sweep prints its bound with its sign.
# Usage: match_engines_test.sh VARTOK_MATCH FAKE_ENGINE
set -u
match=$(realpath "$1") fake=$(realpath "$2")
source "$(dirname "$0")/../../../tools/check_lib.sh"
for engine in stockfish fairymax pgn-extract; do
    [[ -x /usr/games/$engine ]] || { echo "/usr/games/$engine not found: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
# run NAME ARGS...: runs a short match; its output in NAME.out, its status in $status.
run() {
    local name=$1
    shift
    timeout 120 "$match" --games 2 --max-plies 30 "$@" >"$name.out" 2>"$name.err"
    status=$?
}

"$match" --help >help.out 2>help.err
check "--help ends with status 0" [ $? = 0 ]
check "--help prints the usage on standard output" grep -q "^usage: vartok-match" help.out
check "--help names the xboard engines" grep -q "fairymax" help.out
"$match" --games 0 >/dev/null 2>bad.err
check "a bad option ends with status 2" [ $? = 2 ]
check "a bad option is named" grep -q "bad --games 0" bad.err

run uci_xboard --engine stockfish --vartok-name Stockfish --vartok-go 'go movetime 50' \
    --opponent fairymax --opponent-protocol xboard --movetime 100 --pgn games.pgn
check "stockfish against fairymax ends with status 0" [ "$status" = 0 ]
check "pgn-extract read both games" grep -q "pgn-extract read all 2 games" uci_xboard.out
check "the record names fairymax by its own name" grep -q '^\[Black "Fairy-Max 5.0b"\]' games.pgn

run clocks --engine stockfish --vartok-go 'go movetime 50' --opponent fairymax --clock 2+0.05 \
    --pgn clocks.pgn
check "a match on clocks ends with status 0" [ "$status" = 0 ]
check "the heading shows the clocks" grep -q "clocks 2 s + 0.05 s" clocks.out
check "nobody loses on time with time to spare" eval '! grep -q "lost on time" clocks.out'

run named --engine stockfish --vartok-go 'go movetime 50' --opponent fairymax --max-plies 10
check "the file is named after the opponent" eval "compgen -G 'match-fairy-max-5.0b-*.pgn' >/dev/null"

# An opponent that dies after two moves: it loses, is started again, and loses again.
run dies --engine stockfish --vartok-go 'go movetime 50' --opponent "$fake uci die-after=2" \
    --opponent-name Dying --pgn dies.pgn
check "a dying opponent leaves the match whole" [ "$status" = 0 ]
check "both its games are lost, by its death" [ "$(grep -c 'died (exit status 3)' dies.out)" = 2 ]
check "the score counts them" grep -q "2 wins, 0 draws, 0 losses" dies.out

# The player measured sends illegal moves: two losses, and a bound above zero after two games.
run sweep --engine "$fake xboard illegal-after=0" --opponent stockfish --movetime 50 --pgn sweep.pgn
check "illegal moves lose" [ "$(grep -c 'played an illegal move: e' sweep.out)" = 2 ]
check "a sweep's bound keeps its sign" grep -q "below +216 (95%): every game lost" sweep.out
finish_checks match_engines_test
