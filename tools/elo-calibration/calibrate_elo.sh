#!/usr/bin/env bash
# calibrate_elo.sh BUILD OUT [GAMES] [MOVETIME_MS]: places each ELO= setting of the strong
# player, and the classic LEVEL 1-8, on the CCRL Blitz scale by games against independent
# anchors (Debian's engines at their published ratings). Each setting plays GAMES games
# (default 60) against each of the two anchors nearest the Elo it asks for, from the opening
# lines, colours swapped, at MOVETIME_MS a move (default 100) on one thread a side; its Elo
# is fitted by maximum likelihood over all its games (vartok-elo-fit) with a 95% interval.
# OUT keeps every game (PGN), every match report, the ladder rows (ladder.txt) and the
# picture (ladder.svg). A tool to run, not a test: the full ladder takes hours.
set -euo pipefail
if [[ ${1:-} == --help || ${1:-} == -h || $# -lt 2 ]]; then
    sed -n '2,9s/^# \{0,1\}//p' "$0"
    [[ $# -ge 2 ]] && exit 0
    [[ ${1:-} == --help || ${1:-} == -h ]] && exit 0
    exit 2
fi
build=$1 out=$2 games=${3:-60} movetime=${4:-100}
match=$build/tools/match/vartok-match
fit=$build/tools/match/vartok-elo-fit
svg=$build/tools/match/vartok-ladder-svg
openings=$(cd "$(dirname "$0")/../match" && pwd)/openings.txt
mkdir -p "$out"

# Anchors: name in the records, command, options, Elo (Stockfish's own calibration of its
# Skill Levels on the CCRL Blitz scale; the others' CCRL Blitz ratings).
anchors=(
    "sf0|Stockfish (Skill Level 0)|--skill 0|1320"
    "sf1|Stockfish (Skill Level 1)|--skill 1|1468"
    "sf2|Stockfish (Skill Level 2)|--skill 2|1608"
    "sf3|Stockfish (Skill Level 3)|--skill 3|1742"
    "sf4|Stockfish (Skill Level 4)|--skill 4|1923"
    "fmax|Fairy-Max|--opponent fairymax --opponent-protocol xboard|1850"
    "sf5|Stockfish (Skill Level 5)|--skill 5|2204"
    "sf6|Stockfish (Skill Level 6)|--skill 6|2363"
    "sf7|Stockfish (Skill Level 7)|--skill 7|2500"
)

# The two anchors whose Elo lies nearest to $1.
nearest_two() {
    for a in "${anchors[@]}"; do
        IFS='|' read -r key _ _ elo <<<"$a"
        echo "$(( ($1 > elo ? $1 - elo : elo - $1) )) $key"
    done | sort -n | head -n 2 | awk '{print $2}'
}
anchor_of() {
    for a in "${anchors[@]}"; do [[ ${a%%|*} == "$1" ]] && echo "$a"; done
}

# play WORD ASKED NEAR VARTOK_OPTIONS...: the setting against the two anchors nearest NEAR,
# then its ladder row (ASKED '-' when it asks for no Elo).
play() {
    local word=$1 asked=$2 near=$3
    shift 3
    local fit_anchors=() pgns=()
    for key in $(nearest_two "$near"); do
        IFS='|' read -r key name opts elo <<<"$(anchor_of "$key")"
        local pgn="$out/$word-vs-$key.pgn"
        # shellcheck disable=SC2086
        "$match" --games "$games" --movetime "$movetime" --openings "$openings" \
            --vartok-go "go movetime $movetime" --vartok-option Threads=1 "$@" \
            --vartok-name "$word" $opts --pgn "$pgn" >"$out/$word-vs-$key.txt" 2>&1 || true
        fit_anchors+=(--anchor "$name=$elo")
        pgns+=("$pgn")
    done
    "$fit" --player "$word" "${fit_anchors[@]}" --row "$word,$asked" "${pgns[@]}" >>"$out/ladder.txt"
}

: >"$out/ladder.txt"
for elo in ${ELOS:-1000 1200 1400 1600 1800 2000 2200}; do
    play "ELO=$elo" "$elo" "$elo" --vartok-option Player=strong --vartok-option UCI_LimitStrength=true \
        --vartok-option UCI_Elo="$elo"
done
play "ELO=max" - 2300 --vartok-option Player=strong
for level in ${LEVELS:-1 2 3 4 5 6 7 8}; do
    play "LEVEL=$level" - 1320 --vartok-option Level="$level"
done
"$svg" --title "Vartok on the CCRL Blitz scale" "$out/ladder.txt" "$out/ladder.svg"
cat "$out/ladder.txt"
