#!/usr/bin/env bash
# vartok-engine with Player strong, through its protocol: the options in the handshake, an
# info line per iteration with score and pv, legal moves (by stockfish's list), mates
# reported as mates, a threefold repetition under searchmoves, node and clock limits, and
# stop answered at once.
set -uo pipefail
engine=$1
stockfish=${2:-/usr/games/stockfish}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../engine/uci_session.sh"
[[ -x $stockfish ]] || { echo "stockfish not found: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    [[ -n ${seen:-} ]] && printf '  last lines read:\n%s\n' "$(tail -n 6 <<<"$seen" | sed 's/^/    /')"
    failures=$((failures + 1))
}

now_ms() { date +%s%3N; }

start_engine "$engine"
send uci
expect '^uciok$' 10 || fail "no uciok"
for wanted in '^option name Player type combo default classic var classic var strong$' \
    '^option name Hash type spin default 64 min 1 max [0-9]+$' \
    '^option name Move Overhead type spin default 10 min 0 max [0-9]+$'; do
    grep -Eq "$wanted" <<<"$seen" || fail "handshake lacks /$wanted/"
done
send "setoption name Player value fancy"
expect '^info string setoption: Player takes classic or strong' 5 || fail "a bad Player value passed"
send "setoption name Player value strong"
send "setoption name Threads value 1"
send "setoption name Hash value 16"

position="startpos moves e2e4 e7e5"
send "position $position"
send "go depth 10"
expect_bestmove 60 || fail "go depth 10: no bestmove"
grep -Eq '^info depth 10 seldepth [0-9]+ score (cp|mate) -?[0-9]+ nodes [0-9]+ nps [0-9]+ time [0-9]+ pv [a-h1-8qrbn ]+$' <<<"$seen" ||
    fail "go depth 10: no info line of depth 10 with score and pv"
legal_by_stockfish "$stockfish" "$position" "$bestmove" || fail "go depth 10: $bestmove is illegal"

send "position fen 4k3/8/8/8/8/8/8/2Q1K2R w - - 0 1"
send "go depth 8"
expect_bestmove 60 || fail "mate in 2: no bestmove"
grep -q ' score mate 2 ' <<<"$seen" || fail "mate in 2: not reported as mate 2"

# The knight's return: f6g8 brings back the start position a third time, a draw, and
# searchmoves keeps the root to it.
send "position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1"
send "go depth 8 searchmoves f6g8"
expect_bestmove 60 || fail "go searchmoves: no bestmove"
[[ $bestmove == f6g8 ]] || fail "go searchmoves f6g8: played $bestmove"
grep -Eq '^info depth 8 .* score cp 0 .* pv f6g8' <<<"$seen" ||
    fail "go searchmoves f6g8: the third repetition not scored as a draw"

send "position $position"
send "go nodes 20000"
expect_bestmove 60 || fail "go nodes: no bestmove"
nodes=$(grep -o ' nodes [0-9]*' <<<"$seen" | tail -n 1 | awk '{print $2}')
((${nodes:-999999} <= 21504)) || fail "go nodes 20000: searched $nodes"

send "position $position"
send "go wtime 400 btime 400"
started=$(now_ms)
expect_bestmove 5 || fail "go wtime: no bestmove"
(($(now_ms) - started < 400)) || fail "go wtime 400: took $(($(now_ms) - started)) ms"
legal_by_stockfish "$stockfish" "$position" "$bestmove" || fail "go wtime: $bestmove is illegal"

send "position $position"
send "go infinite"
sleep 1
send "stop"
started=$(now_ms)
expect_bestmove 5 || fail "stop: no bestmove"
elapsed=$(($(now_ms) - started))
((elapsed < 100)) || fail "stop answered after $elapsed ms"
legal_by_stockfish "$stockfish" "$position" "$bestmove" || fail "stop: $bestmove is illegal"

stop_engine || fail "the engine exited with a failure"
((failures == 0)) && echo "Player strong through the protocol: ok"
exit $((failures > 0))
