#!/usr/bin/env bash
# spot_check.sh BUILD OUT ELO [SKILL] [GAMES] [MOVETIME_MS]: plays the game itself, through
# its text interface, as ELO=n (ELO=max: full strength) against Stockfish at a Skill Level (default 1) as an outside
# engine (BLACK_ENGINE= or WHITE_ENGINE=), GAMES games (default 20) at MOVETIME_MS a move
# each side (default 100), from the opening lines of the match tool, colours swapped, a
# seed per game. Keeps the records in OUT/elo-N-vs-skill-K.pgn and prints the score with
# the Elo difference and its 95% interval (vartok-elo-fit against the Skill Level's
# published rating). Apart from the calibration: it checks the word as a player meets it.
set -euo pipefail
if [[ ${1:-} == --help || ${1:-} == -h || $# -lt 3 ]]; then
    sed -n '2,8s/^# \{0,1\}//p' "$0"
    [[ ${1:-} == --help || ${1:-} == -h ]] && exit 0
    exit 2
fi
build=$1 out=$2 elo=$3 skill=${4:-1} games=${5:-20} movetime=${6:-100}
stockfish=/usr/games/stockfish
ratings=(1320 1468 1608 1742 1923 2204 2363 2500 2596) # Stockfish's, Skill Levels 0-8
((skill >= 0 && skill <= 8)) || { echo "spot_check.sh: Skill Levels 0 to 8" >&2; exit 2; }
openings=$(dirname "$0")/../match/openings.txt
mkdir -p "$out"
pgn=$out/elo-$elo-vs-skill-$skill.pgn
rm -f "$pgn"

mapfile -t lines < <(grep -v '^#' "$openings" | grep .)
fen_after() { # UCI moves from the start -> the FEN stockfish gives for them
    printf 'position startpos moves %s\nd\nquit\n' "$1" | "$stockfish" | sed -n 's/^Fen: //p'
}

for ((g = 0; g < games; g++)); do
    fen=$(fen_after "${lines[$((g / 2 % ${#lines[@]}))]}")
    # The side to move after the line is White's; the game alternates who plays it.
    if ((g % 2 == 0)); then
        sides=(WHITE_AI BLACK_ENGINE="$stockfish")
    else
        sides=(WHITE_ENGINE="$stockfish")
    fi
    # Enter for every message that waits for it; the game ends by itself.
    yes '' | timeout 1800 "$build/vartok" --no-config FEN="$fen" "${sides[@]}" \
        "ENGINE_OPTION=Skill Level=$skill" ELO="$elo" SEED=$((g + 1)) MOVETIME="$movetime" \
        PGN="$pgn" >/dev/null 2>>"$out/elo-$elo-vs-skill-$skill.err" || true
    echo "game $((g + 1)): $(grep '^\[Result' "$pgn" | tail -n 1)"
done
# The record names the player by its settings: "Vartok strong at Elo 1500 (100 ms a move)".
player=$(grep -o '^\[\(White\|Black\) "Vartok[^"]*"' "$pgn" | head -n 1 | sed 's/^[^"]*"//; s/"$//')
"$build/tools/match/vartok-elo-fit" --player "$player" --anchor "Stockfish 15.1=${ratings[$skill]}" "$pgn"
