#!/usr/bin/env bash
# With the same seed and settings the engine chooses what vartok-analyse chooses: games
# played on from several positions by the analysis tool, each position also put to the
# engine, under settings and seeds that change from move to move (blunders, depths,
# dead-end bounds, one thread or several).
set -uo pipefail
engine=$1
analyse=$2
plies=${3:-12}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/uci_session.sh"

starts=(
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 10"
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 30"
    "4k3/1P4p1/8/3p4/8/8/5PP1/4K3 b - - 0 45"
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 12"
    "rnbqkb1r/pp3ppp/4pn2/2pp4/3P4/2PBPN2/PP3PPP/RNBQK2R b KQkq - 1 5"
)
# Engine option words and the matching analysis-tool options, used in turn.
settings=(
    "|"
    "Blunders 4|--blunders 4"
    "Depth2 5|--depth2 5"
    "Depth1 2,Depth2 4,Blunders 2|--depth1 2 --depth2 4 --blunders 2"
    "Deadend 1500,Limit 400|--deadend 1500 --limit 400"
    "Threads 1,Blunders 7|--threads 1 --blunders 7"
    "Depth1 4,Depth2 4|--depth1 4 --depth2 4"
    "Depth2 2|--depth2 2"
)
defaults="Depth1 3,Depth2 6,Blunders 0,Deadend 1988,Limit 548,Threads $(nproc)"

apply_options() {
    local option
    IFS=, read -ra words <<<"$1"
    for option in "${words[@]}"; do
        [[ -n $option ]] && send "setoption name ${option% *} value ${option##* }"
    done
}

start_engine "$engine"
send "setoption name OwnBook value false"
compared=0
failures=0
case_number=0
for fen in "${starts[@]}"; do
    for ((ply = 0; ply < plies; ply++)); do
        case_number=$((case_number + 1))
        entry=${settings[case_number % ${#settings[@]}]}
        seed=$((case_number * 7919 % 1000))
        read -ra tool_options <<<"${entry#*|}"
        out=$("$analyse" --seed "$seed" "${tool_options[@]}" "$fen" 2>/dev/null)
        expected=$(move_of_report <<<"$out")
        next=$(sed -n 's/^FEN: //p' <<<"$out")
        apply_options "$defaults"
        apply_options "${entry%|*}"
        send "setoption name Seed value $seed"
        send "position fen $fen"
        send go
        if ! expect_bestmove 120; then
            echo "no bestmove for $fen"
            failures=$((failures + 1))
            break
        fi
        compared=$((compared + 1))
        [[ -z $expected ]] && expected=0000 # the side to move has no move: the game has ended
        if [[ $bestmove != "$expected" ]]; then
            echo "seed $seed, options '${entry%|*}', $fen: engine $bestmove, analysis tool $expected"
            failures=$((failures + 1))
        fi
        [[ $expected == 0000 || -z $next ]] && break
        fen=$next
    done
done
stop_engine
echo "$compared positions compared, $failures differ"
((failures == 0 && compared >= ${#starts[@]} * plies / 2))
