#!/usr/bin/env bash
# The life of records at the default places: a finished game leaves current.pgn for the
# database, an unfinished one moves there whole (and says so) when a new game plays, runs
# without a move change nothing, RESUME finds the newest unfinished game, records of runs
# that are gone are gathered, two games played at once keep two records, and quit promises
# only what is kept.
set -uo pipefail
vartok=$1
source "$(dirname "$0")/record_lib.sh"
current=$XDG_STATE_HOME/vartok/current.pgn
database=$XDG_DATA_HOME/vartok/games.pgn

# A two-person game from the given moves (one square a line), ending with the input.
two_persons() {
    printf '%s\n' "$@" | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >/dev/null 2>&1
}

# Fool's mate: the game is over, so the record leaves current.pgn for the database.
two_persons f2 f3 e7 e5 g2 g4 d8 h4 ''
problem=""
[[ -e $current ]] && problem="current.pgn is still there"
[[ $(san_tokens "$database" | tr '\n' ' ') == "f3 e5 g4 Qh4# " ]] ||
    problem="the database holds '$(san_tokens "$database" | tr '\n' ' ')'"
grep -q '^\[Result "0-1"\]$' "$database" || problem="the result is not 0-1"
verdict "a mated game" "$problem" "moved into the database"

# An unfinished game, then a new one: the old one goes to the database with every move,
# at the new game's first move, and standard error says where and how to go on with it.
rm -f "$database"
two_persons e2 e4 e7 e5 g1 f3 quit
printf '%s\n' d2 d4 quit | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >/dev/null 2>"$dir/err"
problem=""
[[ $(san_tokens "$database" | tr '\n' ' ') == "e4 e5 Nf3 " ]] ||
    problem="the database holds '$(san_tokens "$database" | tr '\n' ' ')'"
[[ $(san_tokens "$current" | tr '\n' ' ') == "d4 " ]] ||
    problem="current.pgn holds '$(san_tokens "$current" | tr '\n' ' ')'"
[[ $(cat "$dir/err") == "vartok: $current holds an unfinished game: RESUME continues it; at this game's first move it goes to $database
vartok: the unfinished game of $current is now game 1 of $database; continue it with RESUME=$database#1" ]] ||
    problem="$problem; standard error: $(cat "$dir/err")"
verdict "a quit game before a new one" "$problem" "kept whole in the database, and said so"

# That game resumed from the database leaves it while current.pgn's goes in: the advice
# names the number the latter has once the former is gone, and following it works.
printf '%s\n' b8 c6 quit | timeout 60 "$vartok" RESUME="$database#1" COMMANDS >/dev/null 2>"$dir/err"
advice=$(sed -n 's/.*continue it with \(RESUME=[^ ]*\)$/\1/p' "$dir/err")
printf '%s\n' e7 e5 quit | timeout 60 "$vartok" "${advice:-RESUME=none}" COMMANDS >/dev/null 2>&1
problem=""
[[ $(san_tokens "$current" | tr '\n' ' ') == "d4 e5 " ]] ||
    problem="following '$advice' gave '$(san_tokens "$current" | tr '\n' ' ')'; $(cat "$dir/err")"
verdict "the advice after a resume" "$problem" "followed, it continues the game it names"

# Runs without a move change nothing: not the unfinished game, not the database; the
# unfinished game is named at the start.
before=$(cat "$current" "$database" | sha256sum)
err=$(timeout 60 "$vartok" BLACK_HUMAN </dev/null 2>&1 >/dev/null)
out=$(printf 'quit\n' | timeout 60 "$vartok" BLACK_HUMAN COMMANDS 2>&1 | tail -n 1)
problem=""
[[ $(cat "$current" "$database" | sha256sum) == "$before" ]] || problem="the records changed"
[[ $out == "No move was played, so nothing is kept." ]] || problem="$problem; quit says '$out'"
[[ $err == *"$current holds an unfinished game: RESUME continues it"* ]] ||
    problem="$problem; standard error: $err"
verdict "runs without a move" "$problem" "nothing changed"

# RESUME: the unfinished game while there is one, else the newest unfinished game of the
# database, which it then leaves.
printf '%s\n' e7 e5 quit | timeout 60 "$vartok" RESUME COMMANDS >/dev/null 2>&1
rm "$current"
printf '%s\n' b8 c6 quit | timeout 60 "$vartok" RESUME COMMANDS >"$dir/out" 2>&1
problem=""
[[ -s $database ]] && problem="the database still holds '$(cat "$database")'"
[[ $(san_tokens "$current" | tr '\n' ' ') == "e4 e5 Nf3 Nc6 " ]] ||
    problem="$problem; current.pgn holds '$(san_tokens "$current" | tr '\n' ' ')'"
grep -qx "The game is kept in $current; continue it with RESUME." "$dir/out" ||
    problem="$problem; quit says '$(tail -n 1 "$dir/out")'"
verdict "RESUME without and with an unfinished game" "$problem" "the right game each time"

# The record another run left beside the unfinished game: moved into the database at the
# next game's first move, once that run is gone.
sleep 0 &
gone=$!
wait
cp "$current" "$XDG_STATE_HOME/vartok/game-$gone.pgn"
rm "$current" "$database"
printf '%s\n' c2 c4 quit | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >/dev/null 2>"$dir/err"
problem=""
[[ -e $XDG_STATE_HOME/vartok/game-$gone.pgn ]] && problem="game-$gone.pgn is still there"
[[ $(san_tokens "$database" | tr '\n' ' ') == "e4 e5 Nf3 Nc6 " ]] ||
    problem="$problem; the database holds '$(san_tokens "$database" | tr '\n' ' ')'"
grep -q "game-$gone.pgn is now game 1 of $database" "$dir/err" || problem="$problem; $(cat "$dir/err")"
verdict "a record left by a run that is gone" "$problem" "moved into the database"

# A game of the database resumed into a file of one's own leaves the database, which stays.
rm -f "$database" "$current"
two_persons g2 g3 quit
two_persons h2 h3 quit
rm "$current"
printf '%s\n' b8 c6 quit | timeout 60 "$vartok" RESUME PGN="$dir/mine.pgn" COMMANDS >/dev/null 2>&1
problem=""
[[ -f $database ]] || problem="the database is gone"
[[ $(san_tokens "$database" | tr '\n' ' ') == "" ]] ||
    problem="the database holds '$(san_tokens "$database" | tr '\n' ' ')'"
[[ $(san_tokens "$dir/mine.pgn" | tr '\n' ' ') == "g3 Nc6 " ]] ||
    problem="$problem; the file holds '$(san_tokens "$dir/mine.pgn" | tr '\n' ' ')'"
verdict "RESUME PGN=FILE" "$problem" "the game moved out of the database"

# Where nothing can be kept, quit says so.
touch "$dir/plain"
quit_says() { printf '%s\n' e2 e4 quit | timeout 60 "$@" BLACK_HUMAN COMMANDS 2>/dev/null | tail -n 1; }
out=$(quit_says "$vartok" PGN="$dir/plain/game.pgn")
verdict "quit when the record cannot be written" \
    "$([[ $out == "The game could not be kept in $dir/plain/game.pgn." ]] || echo "quit says '$out'")" \
    "nothing promised"
out=$(quit_says env XDG_STATE_HOME="$dir/plain" "$vartok")
verdict "quit without a place for records" \
    "$([[ $out == "The game is not kept." ]] || echo "quit says '$out'")" "nothing promised"

# Two games at once: the first waits at its prompt while the second plays and quits.
rm -f "$database" "$current"
mkfifo "$dir/first.in"
timeout 60 "$vartok" BLACK_HUMAN COMMANDS <"$dir/first.in" >"$dir/first.out" 2>&1 &
first=$!
exec 3>"$dir/first.in"
printf 'e2\ne4\n' >&3
for _ in $(seq 50); do [[ -s $current ]] && grep -q 'e4' "$current" && break; sleep 0.1; done
printf '%s\n' d2 d4 d7 d5 quit | timeout 60 "$vartok" BLACK_HUMAN COMMANDS 2>&1 >"$dir/second.out"
printf 'e7\ne5\nquit\n' >&3
exec 3>&-
wait "$first"
second=$(ls "$XDG_STATE_HOME"/vartok/game-*.pgn 2>/dev/null | head -n 1)
problem=""
[[ $(san_tokens "$current" | tr '\n' ' ') == "e4 e5 " ]] ||
    problem="current.pgn holds '$(san_tokens "$current" | tr '\n' ' ')'"
[[ -n $second && $(san_tokens "$second" | tr '\n' ' ') == "d4 d5 " ]] ||
    problem="$problem; the second game's record holds '$(san_tokens "${second:-/dev/null}" | tr '\n' ' ')'"
grep -qx "The game is kept in $second; continue it with RESUME=$second." "$dir/second.out" ||
    problem="$problem; the second's quit says '$(tail -n 1 "$dir/second.out")'"
verdict "two games at once" "$problem" "two records, each with its own moves"

echo "$failures failed"
[[ $failures -eq 0 ]]
