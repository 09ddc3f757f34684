#!/usr/bin/env bash
# Measures the LEVEL presets: each level's settings play GAMES games (default 40) against
# stockfish at a Skill Level (default 0, stockfish at 50 ms a move), on one thread, through
# vartok-engine and vartok-match. The summary and every game go to OUT (default
# tools/match/calibration): level-N.txt (the match tool's report) and level-N.pgn.
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
    "1 1 2 1988 548"
    "1 2 4 1988 548"
    "2 2 8 1988 548"
    "2 3 0 1988 548"
    "2 4 0 1988 548"
    "3 6 0 1988 548"
    "3 8 0 2100 548"
    "3 8 0 2250 548"
)
for level in ${levels[*]}; do
    read -r d1 d2 blunders deadend limit <<<"${presets[$level]}"
    "$build/tools/match/vartok-match" --games "$games" --skill "$skill" --movetime 50 \
        --engine "$build/vartok-engine" \
        --vartok-option "Depth1=$d1" --vartok-option "Depth2=$d2" \
        --vartok-option "Blunders=$blunders" --vartok-option "Deadend=$deadend" \
        --vartok-option "Limit=$limit" --vartok-option "Threads=1" \
        --pgn "$out/level-$level-skill-$skill.pgn" | tee "$out/level-$level-skill-$skill.txt"
done
