#!/usr/bin/env bash
# Records in files of the person's own: PGN=FILE adds the game to a PGN database and keeps
# every earlier game byte for byte, and refuses what is not one; RESUME=FILE takes the last
# unfinished game, RESUME=FILE#N the N-th, and never a game that is over or a broken one;
# nothing but regular files is read; a huge bad token makes a short error line.
set -uo pipefail
vartok=$1
random_game=$2
source "$(dirname "$0")/record_lib.sh"

# game WORDS...: a two-person game fed from $dir/input; its status in $status, standard
# error in $dir/err.
game() {
    as_input <"$dir/input" | timeout 60 "$vartok" BLACK_HUMAN COMMANDS "$@" >"$dir/out" 2>"$dir/err"
    status=$?
}
# refused WORDS...: status 2 within seconds, one line on standard error, nothing on output.
refused() {
    local problem=""
    game "$@"
    [[ $status -eq 2 ]] || problem="status $status"
    [[ $(wc -l <"$dir/err") -eq 1 ]] || problem="$problem; standard error: $(head -c 300 "$dir/err")"
    [[ -s $dir/out ]] && problem="$problem; printed on standard output"
    echo "$problem"
}
games_in() { "$pgn_extract" "$1" 2>&1 >/dev/null | sed -n 's/^\([0-9]*\) games\? matched.*/\1/p'; }

# A real database: six two-person games played here and resigned, written out by pgn-extract.
for n in 1 2 3 4 5 6; do
    { "$random_game" "$n" 30; echo resign; echo y; } >"$dir/input"
    game PGN="$dir/g$n.pgn"
done
"$pgn_extract" -s "$dir"/g[1-6].pgn >"$dir/six.pgn" 2>/dev/null
cp "$dir/six.pgn" "$dir/db.pgn"
size=$(stat -c %s "$dir/six.pgn")
printf 'e2|e4\nquit\n' >"$dir/input"
game PGN="$dir/db.pgn"
printf 'd2|d4\nquit\n' >"$dir/input"
game PGN="$dir/db.pgn"
problem=""
cmp -s <(head -c "$size" "$dir/db.pgn") "$dir/six.pgn" || problem="the six games changed"
[[ $(games_in "$dir/db.pgn") == 8 ]] || problem="$problem; pgn-extract reads $(games_in "$dir/db.pgn") games"
[[ $(tail -n 2 "$dir/db.pgn" | head -n 1) == "1. d4 *" ]] || problem="$problem; the last game is not 1. d4"
verdict "two games with PGN= a database of six" "$problem" "both added, the six byte for byte"

# The game in progress is the file's last game: rewritten, the others untouched.
cp "$dir/db.pgn" "$dir/before.pgn"
printf 'e7|e5\ng1|f3\nquit\n' >"$dir/input"
game RESUME="$dir/db.pgn" PGN="$dir/db.pgn"
problem=""
[[ $(games_in "$dir/db.pgn") == 8 ]] || problem="$(games_in "$dir/db.pgn") games"
cmp -s <(head -c "$(stat -c %s "$dir/six.pgn")" "$dir/db.pgn") "$dir/six.pgn" || problem="$problem; the six games changed"
[[ $(tail -n 2 "$dir/db.pgn" | head -n 1) == "1. d4 e5 2. Nf3 *" ]] ||
    problem="$problem; the last game is '$(tail -n 2 "$dir/db.pgn" | head -n 1)'"
grep -qx "The game is kept in $dir/db.pgn; continue it with RESUME=$dir/db.pgn." "$dir/out" ||
    problem="$problem; quit says '$(tail -n 1 "$dir/out")'"
verdict "a game resumed from the database it is kept in" "$problem" "it stays its last game"

# RESUME=FILE#N: the N-th game, into the default place; the file is only read.
printf 'quit\n' >"$dir/input"
before=$(sha256sum <"$dir/db.pgn")
game RESUME="$dir/db.pgn#7"
problem=""
[[ $(san_tokens "$XDG_STATE_HOME/vartok/current.pgn" | tr '\n' ' ') == "e4 " ]] ||
    problem="current.pgn holds '$(san_tokens "$XDG_STATE_HOME/vartok/current.pgn" | tr '\n' ' ')'"
[[ $(sha256sum <"$dir/db.pgn") == "$before" ]] || problem="$problem; the file changed"
verdict "RESUME=FILE#7" "$problem" "the seventh game, the file untouched"
problem=$(refused RESUME="$dir/db.pgn#0")
grep -qx "vartok: $dir/db.pgn: there is no game 0, only 8" "$dir/err" || problem="$problem; $(cat "$dir/err")"
verdict "RESUME=FILE#0" "$problem" "refused: games count from 1"

# Files that are no database, and games that are over or broken: refused, left as they are.
printf 'my notes\n' >"$dir/notes.txt"
printf 'e2|e4\n' >"$dir/input"
problem=$(refused PGN="$dir/notes.txt")
[[ $(cat "$dir/notes.txt") == "my notes" ]] || problem="$problem; the notes changed"
grep -q "^vartok: $dir/notes.txt is not a PGN database" "$dir/err" || problem="$problem; $(cat "$dir/err")"
verdict "PGN= on a text file" "$problem" "refused, the file untouched"

# Fool's mate: a finished game.
printf '%s\n' 'f2|f3' 'e7|e5' 'g2|g4' 'd8|h4' '' >"$dir/input"
game PGN="$dir/mated.pgn"
cp "$dir/mated.pgn" "$dir/mated.before"
printf 'e2|e4\n' >"$dir/input"
problem=$(refused RESUME="$dir/mated.pgn")
grep -qx "vartok: $dir/mated.pgn: the game is over (0-1)" "$dir/err" || problem="$problem; $(cat "$dir/err")"
cmp -s "$dir/mated.pgn" "$dir/mated.before" || problem="$problem; the record changed"
[[ -e $XDG_DATA_HOME/vartok/games.pgn ]] && grep -q 'Qh4#' "$XDG_DATA_HOME/vartok/games.pgn" &&
    problem="$problem; the game went into the database"
verdict "RESUME= a mated game" "$problem" "refused: the game is over"
problem=$(refused RESUME="$dir/six.pgn")
grep -qx "vartok: $dir/six.pgn: none of its 6 games is unfinished" "$dir/err" || problem="$problem; $(cat "$dir/err")"
verdict "RESUME= a database of finished games" "$problem" "refused"

printf '[Event "x"]\n\n1. e4 1-0 e5 2. Nf3 *\n' >"$dir/middle.pgn"
problem=$(refused RESUME="$dir/middle.pgn")
grep -q "line 3: moves after the result" "$dir/err" || problem="$problem; $(cat "$dir/err")"
verdict "a result in the middle of the moves" "$problem" "refused as a broken record"

mkfifo "$dir/fifo"
for file in /dev/zero "$dir/fifo"; do
    for word in RESUME PGN; do
        start=$SECONDS
        problem=$(refused "$word=$file")
        ((SECONDS - start <= 5)) || problem="$problem; it took $((SECONDS - start)) s"
        verdict "$word=$file" "$problem" "refused at once"
    done
done

# A bad move a megabyte long: the line names its beginning.
{ printf '[Event "x"]\n\n1. e4 '; head -c 1000000 /dev/zero | tr '\0' 'x'; printf ' *\n'; } >"$dir/long.pgn"
problem=$(refused RESUME="$dir/long.pgn")
(($(wc -c <"$dir/err") < 200)) || problem="$problem; a line of $(wc -c <"$dir/err") bytes"
verdict "a bad token of a megabyte" "$problem" "cut short"
problem=$(refused "LEVEL=$(head -c 100000 /dev/zero | tr '\0' '9')")
(($(wc -c <"$dir/err") < 200)) || problem="$problem; a line of $(wc -c <"$dir/err") bytes"
verdict "a LEVEL= word of 100000 digits" "$problem" "cut short"

echo "$failures failed"
[[ $failures -eq 0 ]]
