#!/usr/bin/env bash
# mistakes.sh GAMES.pgn [DEPTH] [LOSS]: where a match against stockfish is lost. Stockfish
# judges every position of every game at DEPTH (default 10) and counts, for each player, the
# moves after which the mover's evaluation fell by LOSS centipawns or more (default 200, about
# two pawns), skipping positions already decided (beyond 1000). Prints the counts per player
# and the number of moves each made.
set -euo pipefail
pgn=$1
depth=${2:-10}
loss=${3:-200}
stockfish=${STOCKFISH:-/usr/games/stockfish}
pgn_extract=${PGN_EXTRACT:-/usr/games/pgn-extract}
decided=1000

coproc fish { "$stockfish"; }
echo "uci" >&"${fish[1]}"
# The evaluation for the side to move in `position startpos moves ...`, in centipawns (a mate
# counts as 10000).
evaluate() {
    echo "position startpos moves $1" >&"${fish[1]}"
    echo "go depth $depth" >&"${fish[1]}"
    local line score=0
    while read -r line <&"${fish[0]}"; do
        case $line in
        *" score cp "*) score=$(sed 's/.* score cp \(-\?[0-9]*\).*/\1/' <<<"$line") ;;
        *" score mate -"*) score=-10000 ;;
        *" score mate "*) score=10000 ;;
        bestmove*) break ;;
        esac
    done
    echo "$score"
}

declare -A moves mistakes
white="" black=""
while read -r line; do
    case $line in
    '[White "'*) white=${line#*\"} white=${white%\"*} ;;
    '[Black "'*) black=${line#*\"} black=${black%\"*} ;;
    [a-h][1-8]*)
        read -ra game <<<"$line"
        played=""
        before=$(evaluate "")
        for ((i = 0; i + 1 < ${#game[@]}; i++)); do # the last word is the result
            mover=$white
            ((i % 2)) && mover=$black
            played+=" ${game[i]}"
            after=$((-$(evaluate "$played"))) # seen from the mover's side
            moves[$mover]=$((${moves[$mover]:-0} + 1))
            if ((before > -decided && before < decided && before - after >= loss)); then
                mistakes[$mover]=$((${mistakes[$mover]:-0} + 1))
            fi
            before=$((-after))
        done
        ;;
    esac
done < <("$pgn_extract" -Wuci -C -N -V -s "$pgn")
echo "quit" >&"${fish[1]}"
for player in "${!moves[@]}"; do
    echo "$player: ${mistakes[$player]:-0} moves of ${moves[$player]} lost $loss centipawns or more (stockfish depth $depth)"
done
