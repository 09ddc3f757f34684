#!/usr/bin/env bash
# Makes the tactics set: positions of the given games where stockfish at depth 20 finds one
# move better than every other by at least MARGIN centipawns (two principal variations).
#   tools/strong-tactics/make_tactics.sh OUT_FILE COUNT MARGIN GAMES.pgn...
# Writes "FEN;MOVE;MARGIN" lines. Deterministic for the same games and stockfish.
# (About three seconds a position looked at, on two busy cores.)
set -euo pipefail
out=${1:?usage: make_tactics.sh OUT_FILE COUNT MARGIN GAMES.pgn...}
count=${2:?}
margin=${3:?}
shift 3
stockfish=/usr/games/stockfish
pgn_extract=/usr/games/pgn-extract
depth=20
every=7 # one position in so many half-moves, after the opening lines, up to `last`
first=10
last=90

coproc SF { "$stockfish"; }
printf 'uci\nsetoption name Threads value 1\nsetoption name MultiPV value 2\nisready\n' >&"${SF[1]}"
while IFS= read -r line <&"${SF[0]}"; do [[ $line == readyok ]] && break; done

# cp of a "score" field from White's... no: from the mover's side, as stockfish reports it;
# a mate counts as 10000 less its distance.
score_of() {
    local kind=$1 value=$2
    if [[ $kind == cp ]]; then echo "$value"
    elif ((value > 0)); then echo $((10000 - value))
    else echo $((-10000 - value)); fi
}

: >"$out"
found=0
while IFS= read -r fen && ((found < count)); do
    printf 'position fen %s\ngo depth %d\n' "$fen" "$depth" >&"${SF[1]}"
    best="" first_score="" second_score=""
    while IFS= read -r line <&"${SF[0]}"; do
        if [[ $line == "info depth $depth "* && $line == *" multipv "* ]]; then
            read -r -a w <<<"$line"
            pv="" kind="" value=""
            for ((i = 0; i < ${#w[@]}; i++)); do
                [[ ${w[i]} == multipv ]] && pv=${w[i + 1]}
                [[ ${w[i]} == score ]] && kind=${w[i + 1]} value=${w[i + 2]}
                [[ ${w[i]} == pv ]] && move=${w[i + 1]} && break
            done
            if [[ $pv == 1 ]]; then best=$move first_score=$(score_of "$kind" "$value"); fi
            if [[ $pv == 2 ]]; then second_score=$(score_of "$kind" "$value"); fi
        fi
        [[ $line == bestmove* ]] && break
    done
    [[ -z $best || -z $second_score ]] && continue
    # Already won or lost whatever is played: no test of finding the move.
    ((first_score > 9000 && second_score > 9000)) && continue
    ((second_score < -3000)) && ((first_score < -3000)) && continue
    if ((first_score - second_score >= margin)); then
        printf '%s;%s;%d\n' "$fen" "$best" $((first_score - second_score)) >>"$out"
        found=$((found + 1))
    fi
done < <(for pgn in "$@"; do
    "$pgn_extract" -s -Wepd "$pgn" | awk -v every="$every" -v first="$first" -v last="$last" '
        /^$/ { ply = 0; next }
        { ply++; if (ply >= first && ply <= last && ply % every == 0) print $1 " " $2 " " $3 " " $4 " 0 1" }'
done | sort -R --random-source=<(yes)) # the games mixed, the same way every time
printf 'quit\n' >&"${SF[1]}"
echo "$found positions in $out"
