#!/usr/bin/env bash
# Measures the LEVEL presets: each level's settings play GAMES games (default 40) on one
# thread, through vartok-engine and vartok-match, against a fixed opponent: stockfish at a
# Skill Level (SKILL, default 0, 50 ms a move), or with ANCHOR=1 vartok-engine itself at
# depths 2/2 (one pass), for the levels that stockfish beats every time. The reports and
# every game go to OUT (default tools/match/calibration).
# Usage: calibrate_levels.sh BUILD_DIR [LEVELS...]   (e.g. build/release 1 2 3)
set -euo pipefail
build=$1
shift
levels=("${@:-1 2 3 4 5 6 7 8}")
games=${GAMES:-40}
skill=${SKILL:-0}
out=${OUT:-$(dirname "$0")/calibration}
mkdir -p "$out"
# The presets, as the LEVEL word sets them: Depth1 Depth2 Blunders Deadend Limit.
presets=(
    ""
    "1 3 0 1988 548"
    "1 1 2 1988 548"
    "2 2 8 1988 548"
    "2 2 20 1988 548"
    "3 6 0 1988 548"
    "2 3 0 1988 548"
    "3 8 0 2100 548"
    "2 4 0 1988 548"
)
opponent=(--skill "$skill" --movetime 50)
against=skill-$skill # the reports are named by the settings, which outlive a level's number
if [[ -n ${ANCHOR:-} ]]; then
    opponent=(--stockfish "$build/vartok-engine" --opponent-name "Vartok 2/2" --opponent-go go
              --opponent-option Depth1=2 --opponent-option Depth2=2 --opponent-option Threads=1)
    against=anchor
fi
for level in ${levels[*]}; do
    read -r d1 d2 blunders deadend limit <<<"${presets[$level]}"
    "$build/tools/match/vartok-match" --games "$games" "${opponent[@]}" \
        --engine "$build/vartok-engine" \
        --vartok-option "Depth1=$d1" --vartok-option "Depth2=$d2" \
        --vartok-option "Blunders=$blunders" --vartok-option "Deadend=$deadend" \
        --vartok-option "Limit=$limit" --vartok-option "Threads=1" \
        --pgn "$out/d1_$d1-d2_$d2-b$blunders-de$deadend-vs-$against.pgn" |
        tee "$out/d1_$d1-d2_$d2-b$blunders-de$deadend-vs-$against.txt"
done
