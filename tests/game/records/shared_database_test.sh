#!/usr/bin/env bash
# Games that share one database: three two-person games typed at once into PGN=db.pgn, one
# of them killed with SIGKILL halfway, leave a database pgn-extract reads whole, with every
# half-move each game recorded; a game another run is playing cannot be resumed a second
# time.
set -uo pipefail
vartok=$1
source "$(dirname "$0")/record_lib.sh"
db=$dir/db.pgn

# The squares typed and the moves they make. The first two games open alike, so that for a
# while they write the same text. The killed game is killed halfway through the others.
squares=(
    "e2 e4 e7 e5 g1 f3 b8 c6 f1 c4 g8 f6 d2 d3 f8 c5 c2 c3 d7 d6 h2 h3 a7 a6"
    "e2 e4 e7 e5 b1 c3 g8 f6 f2 f4 d7 d6 g1 f3 b8 c6 f1 b5 c8 d7 d2 d3 a7 a6"
    "d2 d4 d7 d5 c2 c4 e7 e6 b1 c3 g8 f6 c1 g5 f8 e7 e2 e3 h7 h6 g5 h4 b7 b6")
sans=(
    "e4 e5 Nf3 Nc6 Bc4 Nf6 d3 Bc5 c3 d6 h3 a6"
    "e4 e5 Nc3 Nf6 f4 d6 Nf3 Nc6 Bb5 Bd7 d3 a6"
    "d4 d5 c4 e6 Nc3 Nf6 Bg5 Be7 e3 h6 Bh4 b6")
killed=1    # the game killed once it has played...
killed_at=6 # ...this many half-moves

# Each game reads its squares from a FIFO this script writes, a square every 50 ms, the
# games taking turns; a game ends when the script closes its FIFO.
pids=()
for g in 0 1 2; do
    mkfifo "$dir/in$g"
    "$vartok" BLACK_HUMAN COMMANDS PGN="$db" <"$dir/in$g" >"$dir/out$g" 2>"$dir/err$g" &
    pids+=($!)
done
exec 3>"$dir/in0" 4>"$dir/in1" 5>"$dir/in2"
read -ra s0 <<<"${squares[0]}"
read -ra s1 <<<"${squares[1]}"
read -ra s2 <<<"${squares[2]}"
for i in "${!s0[@]}"; do
    if ((i == 2 * killed_at)); then
        # Once it asks for its next half-move, what it played is recorded; the others go on.
        for _ in $(seq 100); do
            grep -q "^$((killed_at + 1)): White's turn\.$" "$dir/out$killed" && break
            sleep 0.05
        done
        kill -9 "${pids[killed]}"
        wait "${pids[killed]}" 2>/dev/null
    fi
    echo "${s0[i]}" >&3
    ((i < 2 * killed_at)) && echo "${s1[i]}" >&4
    echo "${s2[i]}" >&5
    sleep 0.05
done
echo quit >&3
echo quit >&5
exec 3>&- 4>&- 5>&-
wait

# games_in FILE: the SAN moves of each game of FILE, a line each.
games_in() {
    rm -f "$dir"/game[0-9]*.pgn
    awk -v d="$dir" '/^\[Event /{n++} n{print > (d "/game" n ".pgn")}' "$1"
    for file in $(ls "$dir"/game[0-9]*.pgn | sort -V); do
        san_tokens "$file" | tr '\n' ' ' | sed 's/ $//'
        echo
    done
}
# read_whole FILE: pgn-extract reads every game of FILE without a complaint; else says why.
read_whole() {
    local log
    log=$("$pgn_extract" "$1" 2>&1 >/dev/null)
    grep -q "^$2 games matched out of $2\.$" <<<"$log" && ! grep -qiE 'fail|error|missing|illegal' <<<"$log" ||
        echo "pgn-extract says: $log"
}

problem=$(read_whole "$db" 3)
mapfile -t found < <(games_in "$db")
for g in 0 1 2; do
    want=${sans[g]}
    [[ $g -eq $killed ]] && want=$(cut -d' ' -f1-"$killed_at" <<<"$want")
    matches=0
    for moves in "${found[@]}"; do [[ $moves == "$want" ]] && matches=$((matches + 1)); done
    [[ $matches -eq 1 ]] || problem="$problem; game $g ('$want') is there $matches times"
    [[ $g -ne $killed && -s $dir/err$g ]] && problem="$problem; game $g says: $(cat "$dir/err$g")"
done
[[ ${#found[@]} -eq 3 ]] || problem="$problem; ${#found[@]} games: $(printf '[%s] ' "${found[@]}")"
verdict "three games typed into one database, one killed" "$problem" "every half-move of each kept"

# A resumed game of the database is played by one run at a time: the run that resumes it
# again is refused while the first plays, and the first keeps its moves.
mkfifo "$dir/resume.in"
"$vartok" RESUME="$db#1" PGN="$db" COMMANDS <"$dir/resume.in" >"$dir/first.out" 2>&1 &
first=$!
exec 3>"$dir/resume.in"
for _ in $(seq 100); do grep -q "turn\.$" "$dir/first.out" && break; sleep 0.05; done
# The game it plays is now the database's last unfinished one.
timeout 60 "$vartok" RESUME="$db" PGN="$db" COMMANDS </dev/null >"$dir/second.out" 2>"$dir/second.err"
status=$?
problem=""
[[ $status -eq 2 ]] || problem="status $status"
[[ $(cat "$dir/second.err") == "vartok: $db: this game is being played by process $first" ]] ||
    problem="$problem; standard error: $(cat "$dir/second.err")"
[[ -s $dir/second.out ]] && problem="$problem; it printed a board"
printf 'a2\na3\nquit\n' >&3 # White is to move in each of the three games
exec 3>&-
wait "$first"
problem="$problem$(read_whole "$db" 3)"
mapfile -t now < <(games_in "$db")
[[ ${#now[@]} -eq 3 && ${now[2]} == "${found[0]} a3" && ${now[0]} == "${found[1]}" && ${now[1]} == "${found[2]}" ]] ||
    problem="$problem; the games are now: $(printf '[%s] ' "${now[@]}")"
verdict "a game resumed twice at once" "$problem" "the second run refused"

echo "$failures failed"
[[ $failures -eq 0 ]]
