#!/usr/bin/env bash
# Makes the position set of vartok-strong-tune, reproducibly: the strong player against
# itself and against stockfish at fixed node counts (one thread each, so every run plays the
# same games) from the match tool's opening lines; every position of those games after the
# opening, with the game's result and stockfish's score at a fixed depth.
#   tools/strong-tuning/make_positions.sh BUILD_DIR OUT_DIR [GAMES]
# Writes the games (OUT_DIR/*.pgn, with the match summaries) and OUT_DIR/positions.txt
# ("FEN;RESULT;CP" lines, White's view).
set -euo pipefail
build=${1:?usage: make_positions.sh BUILD_DIR OUT_DIR [GAMES]}
out=${2:?usage: make_positions.sh BUILD_DIR OUT_DIR [GAMES]}
games=${3:-80}
here=$(cd "$(dirname "$0")" && pwd)
stockfish=/usr/games/stockfish
pgn_extract=/usr/games/pgn-extract
match=$build/tools/match/vartok-match
engine=$build/vartok-engine
openings=$here/../match/openings.txt
label_depth=9
skip_plies=8 # the opening lines themselves

mkdir -p "$out"
strong=(--vartok-option Player=strong --vartok-option Threads=1 --vartok-option Hash=16)
pgns=()
# Two pairings against itself and two against stockfish, at node counts apart.
for pairing in "20000 30000" "12000 50000"; do
    read -r own other <<<"$pairing"
    pgns+=("$out/selfplay-$own-$other.pgn")
    "$match" --games "$games" --openings "$openings" "${strong[@]}" --vartok-go "go nodes $own" \
        --stockfish "$engine" --opponent-name "Vartok strong $other" \
        --opponent-go "go nodes $other" --opponent-option Player=strong \
        --opponent-option Threads=1 --opponent-option Hash=16 \
        --pgn "${pgns[-1]}" >"${pgns[-1]%.pgn}.txt"
done
for pairing in "20000 2000" "30000 5000"; do
    read -r own other <<<"$pairing"
    pgns+=("$out/stockfish-$own-$other.pgn")
    "$match" --games "$games" --openings "$openings" "${strong[@]}" --vartok-go "go nodes $own" \
        --opponent-name "Stockfish $other nodes" --opponent-go "go nodes $other" \
        --opponent-option "Threads=1" --pgn "${pgns[-1]}" >"${pgns[-1]%.pgn}.txt"
done

# EPD lines carry the result as "c1 RESULT;"; the first plies are the opening lines.
epd=$(mktemp)
for pgn in "${pgns[@]}"; do
    "$pgn_extract" -s -Wepd "$pgn" | awk -v skip="$skip_plies" '
        /^$/ { ply = 0; next }
        {
            ply++
            if (ply <= skip) next
            match($0, /c1 [^;]*;/)
            result = substr($0, RSTART + 3, RLENGTH - 4)
            if (result == "1-0") r = 1; else if (result == "0-1") r = 0; else r = 0.5
            print $1 " " $2 " " $3 " " $4 " 0 1;" r
        }' >>"$epd"
done

# stockfish's score of each position, from White's side.
coproc SF { "$stockfish"; }
printf 'uci\nsetoption name Threads value 1\nisready\n' >&"${SF[1]}"
while IFS= read -r line <&"${SF[0]}"; do [[ $line == readyok ]] && break; done
: >"$out/positions.txt"
while IFS=';' read -r fen result; do
    printf 'position fen %s\ngo depth %d\n' "$fen" "$label_depth" >&"${SF[1]}"
    score=""
    while IFS= read -r line <&"${SF[0]}"; do
        case $line in
        *" score cp "*) score=${line#* score cp } score=${score%% *} ;;
        *" score mate "*) score=${line#* score mate } score=${score%% *}
            if ((score > 0)); then score=3000; else score=-3000; fi ;;
        bestmove*) break ;;
        esac
    done
    [[ -z $score ]] && continue
    [[ ${fen#* } == b* ]] && score=$((-score))
    printf '%s;%s;%s\n' "$fen" "$result" "$score" >>"$out/positions.txt"
done <"$epd"
printf 'quit\n' >&"${SF[1]}"
rm -f "$epd"
echo "$(wc -l <"$out/positions.txt") positions in $out/positions.txt"
