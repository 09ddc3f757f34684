#!/usr/bin/env bash
# The calibration's two scripts on a few games: the ladder (matches through the engine, the
# fit, the table and the picture) and the spot check (the game itself through its text
# interface against stockfish as an outside engine).
# Usage: elo_calibration_test.sh BUILD_DIR; skipped (77) without stockfish and pgn-extract.
set -u
build=$1
source "$(dirname "$0")/../../../tools/check_lib.sh"
tools=$(cd "$(dirname "$0")/../../../tools/elo-calibration" && pwd)
[[ -x /usr/games/stockfish && -x /usr/games/pgn-extract ]] || { echo "stockfish and pgn-extract are needed (tools/install-packages.sh test)"; exit 1; }
# An '=' in the directory's name as in the settings' file names: no tool may split there.
dir=$(mktemp -d /tmp/calibration=XXXXXX)
trap 'rm -rf "$dir"' EXIT

WORDS=ELO=1000 bash "$tools/calibrate_elo.sh" "$build" "$dir/ladder" 2 20 >"$dir/ladder.out" 2>&1
check "the ladder ends with status 0" [ $? = 0 ]
check "both anchors were played" eval '[ -s "$dir/ladder/ELO=1000-vs-sf0.pgn" ] && [ -s "$dir/ladder/ELO=1000-vs-sf1.pgn" ]'
check "the setting has its row: 4 games" grep -qE '^ELO=1000 1000 (-|[0-9-]+) (-|[0-9-]+) (-|[0-9-]+) 4$' "$dir/ladder/ladder.txt"
check "the table has the row and a move time per match" grep -qE '^\| `ELO=1000` \| .* \| 4 \| [0-9]+ / [0-9]+ ms \|$' "$dir/ladder/table.md"
check "the picture is drawn" grep -q "<circle" "$dir/ladder/ladder.svg"
WORDS=ELO=1000 STAGE=fit bash "$tools/calibrate_elo.sh" "$build" "$dir/ladder" 2 20 >/dev/null 2>&1
check "a second run plays no match again" [ "$(grep -c '^game' "$dir/ladder/ELO=1000-vs-sf0.txt")" = 2 ]

bash "$tools/spot_check.sh" "$build" "$dir/spot" 1000 0 2 20 >"$dir/spot.out" 2>&1
check "the spot check ends with status 0" [ $? = 0 ]
pgn=$dir/spot/elo-1000-vs-skill-0.pgn
check "two finished games" [ "$(grep -cE '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$pgn")" = 2 ]
check "the game played each colour" eval 'grep -q "^\[White \"Vartok strong at Elo 1000" "$pgn" && grep -q "^\[Black \"Vartok strong at Elo 1000" "$pgn"'
check "each game from its opening line, with its own seed" eval 'grep -q "SEED=1\"" "$pgn" && grep -q "SEED=2\"" "$pgn" && [ "$(grep -c "^\[FEN " "$pgn")" = 2 ]'
check "the score is fitted against Skill Level 0" grep -q "against Stockfish 15.1 (1320): " "$dir/spot.out"
/usr/games/pgn-extract -s "$pgn" >/dev/null 2>"$dir/extract.err"
check "pgn-extract reads the records" eval '! grep -qi "error\|illegal" "$dir/extract.err"'
finish_checks elo_calibration_test
