#!/usr/bin/env bash
# worse_moves.sh ANALYSE D1 D2 BLUNDERS: how often BLUNDERS makes the computer take a move
# that scores below its best. In each of five positions (those of vartok-ai-bench) and for 40
# seeds, vartok-analyse moves once without blunders and once with them; a turn counts when the
# move taken with blunders scores lower. Prints the count of 200.
set -euo pipefail
analyse=$1
d1=$2
d2=$3
blunders=$4
positions=(
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5"
    "2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30"
)
score_of_move() { # the score on the "Moving ... (score: N)" line
    "$analyse" --threads 1 --turn 20 --depth1 "$d1" --depth2 "$d2" "$@" 2>/dev/null |
        grep -o 'score: -\?[0-9]*' | tail -1 | cut -d' ' -f2
}
worse=0
turns=0
for position in "${positions[@]}"; do
    for seed in $(seq 1 40); do
        best=$(score_of_move --seed "$seed" "$position")
        taken=$(score_of_move --seed "$seed" --blunders "$blunders" "$position")
        turns=$((turns + 1))
        ((taken < best)) && worse=$((worse + 1))
    done
done
echo "$d1/$d2 BLUNDERS=$blunders: a worse move in $worse of $turns turns"
