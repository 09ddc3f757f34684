#!/usr/bin/env bash
# The life of records at the default places: a finished game leaves current.pgn for the
# database, an unfinished one moves there whole when a new game starts, and two games
# played at once keep two records.
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

# An unfinished game, then a new one: the old one goes to the database with every move.
rm -f "$database"
two_persons e2 e4 e7 e5 g1 f3 quit
two_persons d2 d4 quit
problem=""
[[ $(san_tokens "$database" | tr '\n' ' ') == "e4 e5 Nf3 " ]] ||
    problem="the database holds '$(san_tokens "$database" | tr '\n' ' ')'"
[[ $(san_tokens "$current" | tr '\n' ' ') == "d4 " ]] ||
    problem="current.pgn holds '$(san_tokens "$current" | tr '\n' ' ')'"
verdict "a quit game before a new one" "$problem" "kept whole in the database"

# Two games at once: the first waits at its prompt while the second plays and quits.
rm -f "$database" "$current"
mkfifo "$dir/first.in"
timeout 60 "$vartok" BLACK_HUMAN COMMANDS <"$dir/first.in" >"$dir/first.out" 2>&1 &
first=$!
exec 3>"$dir/first.in"
printf 'e2\ne4\n' >&3
for _ in $(seq 50); do [[ -s $current ]] && grep -q 'e4' "$current" && break; sleep 0.1; done
two_persons d2 d4 d7 d5 quit
printf 'e7\ne5\nquit\n' >&3
exec 3>&-
wait "$first"
second=$(ls "$XDG_STATE_HOME"/vartok/game-*.pgn 2>/dev/null | head -n 1)
problem=""
[[ $(san_tokens "$current" | tr '\n' ' ') == "e4 e5 " ]] ||
    problem="current.pgn holds '$(san_tokens "$current" | tr '\n' ' ')'"
[[ -n $second && $(san_tokens "$second" | tr '\n' ' ') == "d4 d5 " ]] ||
    problem="$problem; the second game's record holds '$(san_tokens "${second:-/dev/null}" | tr '\n' ' ')'"
verdict "two games at once" "$problem" "two records, each with its own moves"

echo "$failures failed"
[[ $failures -eq 0 ]]
