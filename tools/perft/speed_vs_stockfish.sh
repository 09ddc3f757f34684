#!/usr/bin/env bash
# speed_vs_stockfish.sh PERFT [ROUNDS]: times vartok-perft against stockfish's "go perft"
# (depth 6 from the start position, depth 5 on Kiwipete), the two alternated in one loop
# so that both meet the same load, and prints each round and the ratio of the totals.
source "$(dirname "$0")/../script_help.sh"
set -euo pipefail
perft=$1
rounds=${2:-3}
stockfish=$(command -v stockfish || echo /usr/games/stockfish)
[[ -x $stockfish ]] || { echo "stockfish not installed"; exit 2; }

positions=(
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|6"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|5"
)
seconds() { # command...: wall seconds of one run
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
ask_stockfish() {
    printf 'position fen %s\ngo perft %s\nquit\n' "$1" "$2" | "$stockfish" | grep -q '^Nodes searched'
}
for entry in "${positions[@]}"; do
    fen=${entry%|*}
    depth=${entry##*|}
    ours_total=0 theirs_total=0
    for ((round = 1; round <= rounds; round++)); do
        ours=$(seconds "$perft" "$fen" "$depth")
        theirs=$(seconds ask_stockfish "$fen" "$depth")
        printf '  depth %s round %d: vartok-perft %.3f s, stockfish %.3f s\n' "$depth" "$round" \
            "$ours" "$theirs"
        ours_total=$(awk -v a="$ours_total" -v b="$ours" 'BEGIN { print a + b }')
        theirs_total=$(awk -v a="$theirs_total" -v b="$theirs" 'BEGIN { print a + b }')
    done
    printf '%s depth %s: vartok-perft takes %.2f times stockfish'"'"'s time\n' "$fen" "$depth" \
        "$(awk -v a="$ours_total" -v b="$theirs_total" 'BEGIN { print a / b }')"
done
