#!/usr/bin/env bash
# Compares vartok-perft's per-move counts with stockfish's "go perft" on tricky positions:
# castling through attacks, en passant with pins, promotions with capture, and en-passant
# squares that no double step can have crossed (ignored, as stockfish ignores them).
set -euo pipefail
perft=$1
stockfish=$(command -v stockfish || echo /usr/games/stockfish)
[[ -x $stockfish ]] || { echo "stockfish not installed: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }

positions=(
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|4"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|3"
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1|5"
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1|3"
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8|3"
    "8/8/8/K2pP2r/8/8/8/7k w - d6 0 1|4"
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1|3"
    "4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 1|4"
    "4k3/8/4N3/3Pp3/8/8/8/4K3 w - e6 0 1|3"
    "4k3/4b3/8/3Pp3/8/8/8/4K3 w - e6 0 1|3"
    "4k3/8/8/8/3pP3/4n3/8/4K3 b - e3 0 1|3"
    "4k3/8/8/8/3pP3/8/8/4K3 w - e3 0 1|3"
)
failures=0
for entry in "${positions[@]}"; do
    fen=${entry%|*}
    depth=${entry##*|}
    ours=$("$perft" "$fen" "$depth" | grep -E '^[a-h][1-8][a-h][1-8][qrbn]?: ' | sort)
    theirs=$(printf 'position fen %s\ngo perft %s\nquit\n' "$fen" "$depth" | "$stockfish" |
             grep -E '^[a-h][1-8][a-h][1-8][qrbn]?: ' | sort)
    if [[ "$ours" != "$theirs" ]]; then
        echo "MISMATCH for $fen depth $depth"
        diff <(echo "$ours") <(echo "$theirs") || true
        failures=$((failures + 1))
    fi
done
echo "${#positions[@]} positions compared, $failures differ"
[[ $failures -eq 0 ]]
