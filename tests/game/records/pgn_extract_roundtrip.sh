#!/usr/bin/env bash
# Random legal games written by the game's PGN writer are read by pgn-extract, an independent
# PGN reader, without a complaint; its final positions and its own SAN equal ours; and its
# re-exports, in SAN and in long algebraic, read back through our reader to the same moves.
set -euo pipefail
tool=$1
pgn_extract=$(command -v pgn-extract || echo /usr/games/pgn-extract)
[[ -x $pgn_extract ]] || { echo "pgn-extract not installed: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
seed=${SEED:-20240611}
games=${GAMES:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" write "$seed" "$games" "$work/games.pgn"
for notation in san lalg; do
    mkdir "$work/$notation"
    # -#1: one game per file (1.pgn, 2.pgn, ...); -F: the final position as a FEN comment.
    (cd "$work/$notation" &&
        "$pgn_extract" -s -F -W"$notation" -#1 -l "$work/$notation.log" "$work/games.pgn")
    if [[ -s $work/$notation.log ]]; then
        echo "pgn-extract complained ($notation):"
        head -40 "$work/$notation.log"
        exit 1
    fi
    "$tool" check "$seed" "$games" "$work/$notation" "$notation"
done
