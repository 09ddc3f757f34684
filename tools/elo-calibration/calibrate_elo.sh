#!/usr/bin/env bash
# calibrate_elo.sh BUILD OUT [GAMES] [MOVETIME_MS]: places each ELO= setting of the strong
# player, and the classic LEVEL 1-8, on the CCRL Blitz scale by games against anchors:
# Debian's engines at their published ratings and, below the weakest of them, the weakest
# ELO= settings at the Elo measured for them. Each setting plays GAMES games (default 60)
# against each of its two anchors, from the opening lines, colours swapped, at MOVETIME_MS a
# move (default 100) on one thread a side; its Elo is fitted by maximum likelihood over all
# its games (vartok-elo-fit) with a 95% interval.
# OUT keeps every game (PGN) and match report, the ladder rows (ladder.txt), the median move
# times (move-times.txt), the README table (table.md) and the picture (ladder.svg).
# LEVEL_GAMES sets the games of the classic levels apart (default GAMES).
# STAGE=play plays only, STAGE=fit only fits and draws (default: both); WORDS chooses the
# settings played (default all, in the order below). A match already in OUT is not played
# again, so that several runs can share the work. A tool to run, not a test: it takes hours.
set -euo pipefail
if [[ ${1:-} == --help || ${1:-} == -h || $# -lt 2 ]]; then
    sed -n '2,14s/^# \{0,1\}//p' "$0"
    [[ ${1:-} == --help || ${1:-} == -h ]] && exit 0
    exit 2
fi
build=$1 out=$2 games=${3:-60} movetime=${4:-100}
match=$build/tools/match/vartok-match
fit=$build/tools/match/vartok-elo-fit
svg=$build/tools/match/vartok-ladder-svg
engine=$build/vartok-engine
openings=$(cd "$(dirname "$0")/../match" && pwd)/openings.txt
mkdir -p "$out"

# Independent anchors: key|name in the records (an xboard engine's own)|options of the match
# tool|Elo. Stockfish's
# Skill Levels at its own calibration on the CCRL Blitz scale; Fairy-Max at its CCRL Blitz
# rating. Stockfish's Skill Levels choose at a fixed depth, so a short move time hardly
# changes them.
independent=(
    "sf0|Stockfish (Skill Level 0)|--skill 0|1320"
    "sf1|Stockfish (Skill Level 1)|--skill 1|1468"
    "sf2|Stockfish (Skill Level 2)|--skill 2|1608"
    "sf3|Stockfish (Skill Level 3)|--skill 3|1742"
    "fmax|Fairy-Max 5.0b|--opponent fairymax --opponent-protocol xboard|1850"
    "sf4|Stockfish (Skill Level 4)|--skill 4|1923"
    "sf5|Stockfish (Skill Level 5)|--skill 5|2204"
    "sf6|Stockfish (Skill Level 6)|--skill 6|2363"
)

# Each setting: word|its anchors (two or more). An anchor that is an
# ELO= setting stands at the Elo measured for it (its row of ladder.txt).
strong=(--vartok-option Player=strong --vartok-option UCI_LimitStrength=true)
settings=(
    "ELO=1000|sf0 sf1"
    "ELO=1200|sf0 sf1"
    "ELO=1400|sf1 sf2"
    "ELO=1600|sf2 sf3"
    "ELO=1800|sf3 fmax sf4"
    "ELO=2000|sf4 sf5"
    "ELO=2200|sf5 sf6"
    "ELO=max|sf5 sf6"
    "ELO=800|sf0 ELO=1000"
)
for level in 1 2 3 4 5 6 7 8; do settings+=("LEVEL=$level|sf0 ELO=800"); done

options_of() { # word -> the measured engine's options
    case $1 in
    ELO=max) echo --vartok-option Player=strong ;;
    ELO=*) echo "${strong[*]} --vartok-option UCI_Elo=${1#ELO=}" ;;
    LEVEL=*) echo --vartok-option "Level=${1#LEVEL=}" ;;
    esac
}
anchors_of() { # word -> its two anchor keys
    for s in "${settings[@]}"; do [[ ${s%%|*} == "$1" ]] && echo "${s#*|}"; done
}
measured_elo() { # word -> its fitted Elo from ladder.txt
    awk -v w="$1" '$1 == w && $3 != "-" {print $3}' "$out/ladder.txt" 2>/dev/null
}
anchor() { # key -> name|match options|Elo
    local a
    for a in "${independent[@]}"; do
        [[ ${a%%|*} == "$1" ]] && { echo "${a#*|}"; return; }
    done
    local elo
    elo=$(measured_elo "$1")
    [[ -n $elo ]] || { echo "calibrate_elo.sh: $1 is not measured yet" >&2; return 1; }
    local opts="--opponent $engine --opponent-go go_movetime --opponent-name $1"
    opts+=" --opponent-option Threads=1 --opponent-option Player=strong"
    opts+=" --opponent-option UCI_LimitStrength=true --opponent-option UCI_Elo=${1#ELO=}"
    echo "$1|$opts|$elo"
}

play() { # word: its games against both anchors
    local word=$1 key name opts elo
    for key in $(anchors_of "$word"); do
        local file="$out/$word-vs-$key"
        [[ -e $file.pgn ]] && continue
        IFS='|' read -r name opts elo <<<"$(anchor "$key")"
        if [[ -z $elo ]]; then # an ELO= anchor not measured yet: never a stand-in
            echo "calibrate_elo.sh: $word against $key skipped" >&2
            continue
        fi
        local args=()
        read -r -a args <<<"$opts"
        args=("${args[@]/go_movetime/go movetime $movetime}")
        local own=()
        read -r -a own <<<"$(options_of "$word")"
        local n=$games
        [[ $word == LEVEL=* ]] && n=${LEVEL_GAMES:-$games}
        "$match" --engine "$engine" --games "$n" --movetime "$movetime" --openings "$openings" \
            --vartok-go "go movetime $movetime" --vartok-option Threads=1 "${own[@]}" \
            --vartok-name "$word" "${args[@]}" --pgn "$file.part.pgn" >"$file.txt" 2>&1 || true
        mv "$file.part.pgn" "$file.pgn"
    done
}

ladder_order() { # the rows by the Elo asked, then ELO=max, then the classic levels
    awk '{k = $1; sub(/^[A-Z]*=/, "", k); if (k == "max") k = 9999; if ($1 ~ /^LEVEL=/) k += 10000
          print k, $0}' | sort -n -k1,1 | cut -d' ' -f2-
}

fit_all() { # ladder.txt, move-times.txt, table.md and ladder.svg from the games in OUT
    local s word key name opts elo asked tmp=$out/ladder.txt.part
    : >"$tmp"
    : >"$out/move-times.txt"
    for s in "${settings[@]}"; do
        word=${s%%|*}
        local fit_anchors=() pgns=() medians=()
        for key in $(anchors_of "$word"); do
            [[ -e $out/$word-vs-$key.pgn ]] || continue
            IFS='|' read -r name opts elo <<<"$(anchor "$key" 2>/dev/null || true)"
            [[ -n ${elo:-} ]] || continue
            fit_anchors+=(--anchor "$name=$elo")
            pgns+=("$out/$word-vs-$key.pgn")
            medians+=("$(sed -n "s/^$word's moves: median \([0-9]*\) ms.*/\1/p" "$out/$word-vs-$key.txt")")
        done
        ((${#pgns[@]})) || continue
        asked=-
        [[ $word == ELO=[0-9]* ]] && asked=${word#ELO=}
        "$fit" --player "$word" "${fit_anchors[@]}" --row "$word,$asked" "${pgns[@]}" >>"$tmp"
        echo "$word ${medians[*]}" >>"$out/move-times.txt"
        cp "$tmp" "$out/ladder.txt" # the anchors measured so far, for the settings below them
    done
    mv "$tmp" "$out/ladder.txt"
    "$svg" --title "Vartok on the CCRL Blitz scale" "$out/ladder.txt" "$out/ladder.svg"
    {
        echo "| Word | Measured Elo | 95% interval | Games | Median move time |"
        echo "|---|---|---|---|---|"
        awk 'NR == FNR {t[$1] = $2; for (i = 3; i <= NF; i++) t[$1] = t[$1] " / " $i; next}
             {elo = $3; range = $4 " to " $5
              if ($3 == "-") { elo = "below " $5; range = "-" } # every game lost
              printf "| `%s` | %s | %s | %d | %s ms |\n", $1, elo, range, $6, t[$1]}' \
            "$out/move-times.txt" - < <(ladder_order <"$out/ladder.txt")
    } >"$out/table.md"
    cat "$out/table.md"
}

if [[ ${STAGE:-both} != fit ]]; then
    for s in "${settings[@]}"; do
        word=${s%%|*}
        [[ -z ${WORDS:-} || " $WORDS " == *" $word "* ]] || continue
        # A setting whose anchor is itself a setting waits for that one's row.
        for key in $(anchors_of "$word"); do
            [[ $key == ELO=* && -z $(measured_elo "$key") ]] && fit_all >/dev/null
        done
        play "$word"
    done
fi
[[ ${STAGE:-both} == play ]] || fit_all
