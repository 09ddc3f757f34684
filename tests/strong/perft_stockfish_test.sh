#!/usr/bin/env bash
# The strong player's move generator counts the same move trees as stockfish's perft:
# castling, en passant (and the pins that forbid it), ascensions, checks.
set -uo pipefail
bench=$1
stockfish=${2:-/usr/games/stockfish}
[[ -x $stockfish ]] || { echo "stockfish not found: skipped"; exit 77; }

positions=(
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|4"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|3"
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1|5"
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1|4"
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8|3"
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10|3"
    "8/8/3k4/8/1pPp4/8/8/4K2Q b - c3 0 1|4"
    "8/8/8/2k5/2pP4/8/B7/4K3 b - d3 0 3|4"
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1|4"
    "4k3/1P6/8/8/8/8/6p1/4K2R b K - 0 1|4"
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1|4"
    "8/P1k5/K7/8/8/8/8/8 w - - 0 1|6"
)
failures=0
for entry in "${positions[@]}"; do
    fen=${entry%|*}
    depth=${entry#*|}
    ours=$("$bench" perft "$fen" "$depth")
    theirs=$(printf 'position fen %s\ngo perft %s\nquit\n' "$fen" "$depth" | "$stockfish" |
        sed -n 's/^Nodes searched: //p')
    if [[ $ours != "$theirs" ]]; then
        echo "FAIL: $fen depth $depth: $ours, stockfish $theirs"
        failures=$((failures + 1))
    fi
done
((failures == 0)) && echo "${#positions[@]} positions: the same counts as stockfish"
exit $((failures > 0))
