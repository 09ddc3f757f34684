#!/usr/bin/env bash
# Measures the LEVEL presets, or any settings, with vartok-engine and vartok-match: GAMES
# games a match (default 40), every search on one thread, each game pair from one line of
# tools/match/openings.txt with colours swapped, every move of a vartok-engine with a seed
# of its own (so that blunders come move by move, as in the game). The reports and every
# game go to OUT (default tools/match/calibration), named by the settings, which outlive a
# level's number, and by the number of games when it is not 40.
#
# Usage: calibrate_levels.sh BUILD_DIR MODE [WHAT...]
#   WHAT is a level (1..8) or settings written D1/D2/BLUNDERS/DEADEND/LIMIT; default: every
#   level. MODE is one of
#     stockfish   against stockfish at Skill Level SKILL (default 0), 50 ms a move
#     anchor      against one fixed opponent: vartok-engine at 2/2, no blunders (level 6)
#     ladder      each level against the level below it (levels only, from 2)
#     vs=WHAT     against vartok-engine with those settings (a level or D1/D2/B/DE/L)
# Example: calibrate_levels.sh build/release vs=8 2/6/0/1988/548 2/4/0/2100/548
set -euo pipefail
build=$1
mode=$2
shift 2
what=("${@:-1 2 3 4 5 6 7 8}")
games=${GAMES:-40}
skill=${SKILL:-0}
out=${OUT:-$(dirname "$0")/calibration}
mkdir -p "$out"

# The presets, read from the table the LEVEL word and the engine's Level option use
# (ai/classic/levels.cpp), as D1/D2/BLUNDERS/DEADEND/LIMIT; presets[n] is level n.
presets=("")
while read -r preset; do
    presets+=("$preset")
done < <(grep -oE '^ *\{[0-9]+, [0-9]+, [0-9]+, [0-9]+, [0-9]+\}' "$(dirname "$0")/../../ai/levels.cpp" |
    tr -d ' {}' | tr , /)
if ((${#presets[@]} != 9)); then
    echo "calibrate_levels.sh: cannot read the eight presets of ai/classic/levels.cpp" >&2
    exit 2
fi
anchor=2/2/0/1988/548

settings_of() { # a level or settings -> settings
    local s=$1
    [[ $s == */* ]] || s=${presets[$1]}
    # The engine keeps its setting when a value is out of range: the match would measure
    # other settings than its name says.
    IFS=/ read -r d1 d2 b de limit <<<"$s"
    if ((d1 < 0 || d1 > 255 || d2 < 0 || d2 > 255 || b < 0 || b > 255)); then
        echo "calibrate_levels.sh: $s: depths and blunders go from 0 to 255" >&2
        exit 2
    fi
    echo "$s"
}
name_of() { # settings -> file name part
    IFS=/ read -r d1 d2 b de limit <<<"$1"
    local name="d1_$d1-d2_$d2-b$b-de$de"
    [[ $limit == 548 ]] || name+="-l$limit"
    echo "$name"
}
engine_options() { # FLAG settings -> the five options and one thread
    IFS=/ read -r d1 d2 b de limit <<<"$2"
    echo "$1 Depth1=$d1 $1 Depth2=$d2 $1 Blunders=$b $1 Deadend=$de $1 Limit=$limit $1 Threads=1"
}
measure() { # settings opponent-settings|stockfish
    local against opponent
    if [[ $2 == stockfish ]]; then
        opponent=(--skill "$skill" --movetime 50)
        against=skill-$skill
    else
        IFS=/ read -r d1 d2 b de limit <<<"$2"
        # shellcheck disable=SC2207
        opponent=(--stockfish "$build/vartok-engine" --opponent-go go --opponent-seeds
                  --opponent-name "Vartok $d1/$d2 blunders $b deadend $de limit $limit"
                  $(engine_options --opponent-option "$2"))
        against=$(name_of "$2")
        [[ $2 == "$anchor" ]] && against=anchor
    fi
    local file="$out/$(name_of "$1")-vs-$against"
    [[ $games == 40 ]] || file+="-$games-games"
    if [[ -e $file.pgn ]]; then # a result is never overwritten: remove it to measure again
        echo "calibrate_levels.sh: $file.pgn exists: skipped" >&2
        return 0
    fi
    # shellcheck disable=SC2046
    "$build/tools/match/vartok-match" --games "$games" "${opponent[@]}" \
        --engine "$build/vartok-engine" $(engine_options --vartok-option "$1") \
        --openings "$(dirname "$0")/openings.txt" --pgn "$file.pgn" | tee "$file.txt"
}

for w in ${what[*]}; do
    settings=$(settings_of "$w")
    case $mode in
    stockfish) measure "$settings" stockfish ;;
    anchor) measure "$settings" "$anchor" ;;
    ladder) ((w > 1)) && measure "$settings" "${presets[w - 1]}" ;;
    vs=*) measure "$settings" "$(settings_of "${mode#vs=}")" ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
    esac
done
