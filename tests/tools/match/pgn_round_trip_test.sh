#!/usr/bin/env bash
# The match tool's PGN read back by pgn-extract: random games (castling, en passant,
# promotions, pieces that need their file or rank named) must all be accepted, results
# consistent with the final positions, and pgn-extract's own reading of every move must be
# the move played.
set -uo pipefail
random_games=$1
pgn_extract=${2:-/usr/games/pgn-extract}
[[ -x $pgn_extract ]] || { echo "$pgn_extract not found: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
games=150
"$random_games" 7 "$games" "$dir/played.txt" >"$dir/games.pgn" || { echo "random_games failed"; exit 1; }
"$pgn_extract" -Wuci --noresults -C -N -V --notags -w 100000 -o "$dir/read.txt" "$dir/games.pgn" \
    2>"$dir/report.txt"
if grep -qiE 'fail|illegal|inconsistent|warning|error' "$dir/report.txt" ||
    ! grep -q "^$games games matched out of $games\.$" "$dir/report.txt"; then
    echo "pgn-extract complained:"
    head -20 "$dir/report.txt"
    exit 1
fi
# One line of moves per game, without the blank lines between games; pgn-extract writes
# the promotion piece in upper case.
sed -e 's/ *$//' -e '/^$/d' "$dir/read.txt" | tr QRBN qrbn >"$dir/read_moves.txt"
if ! cmp -s "$dir/played.txt" "$dir/read_moves.txt"; then
    echo "pgn-extract read other moves than were played:"
    diff "$dir/played.txt" "$dir/read_moves.txt" | head -6 | cut -c1-300
    exit 1
fi
for san in 'O-O ' 'O-O-O' '=Q' '=N' '#' '[a-h]x[a-h][36]' '[NRQ][a-h1-8]x\?[a-h][1-8]'; do
    grep -q -- "$san" "$dir/games.pgn" || { echo "no game had a move like /$san/"; exit 1; }
done
echo "$games random games read back move for move"
