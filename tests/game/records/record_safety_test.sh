#!/usr/bin/env bash
# Records are never written through a link nor into folders other users can change, a
# closed standard output does not send the boards into a file, and signals during a write
# leave no temporary file behind.
set -uo pipefail
vartok=$1
source "$(dirname "$0")/record_lib.sh"
state=$XDG_STATE_HOME/vartok
database=$XDG_DATA_HOME/vartok/games.pgn
moves() { printf '%s\n' e2 e4 e7 e5 g1 f3 quit; }

# Links at the unfinished game and at the lock: their targets stay as they were.
mkdir -p "$state"
echo "victim's text" >"$dir/victim.txt"
ln -s "$dir/victim.txt" "$state/current.pgn"
moves | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >"$dir/out" 2>"$dir/err"
problem=""
[[ $(cat "$dir/victim.txt") == "victim's text" ]] || problem="the link's target changed"
[[ -L $state/current.pgn ]] || problem="$problem; the link is gone"
grep -q "$state/current.pgn: a symbolic link" "$dir/err" || problem="$problem; $(cat "$dir/err")"
kept=$(sed -n 's/^The game is kept in \(.*\); continue it with RESUME=.*/\1/p' "$dir/out")
[[ -n $kept && $(san_tokens "$kept" | tr '\n' ' ') == "e4 e5 Nf3 " ]] ||
    problem="$problem; the game is not kept beside it: $(tail -n 1 "$dir/out")"
verdict "a link at current.pgn" "$problem" "its target untouched, the game kept beside it"
rm -f "$state"/*
ln -s "$dir/made-by-lock" "$state/current.lock"
moves | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >/dev/null 2>&1
verdict "a link at the lock" "$([[ -e $dir/made-by-lock ]] && echo "a file was made through it")" \
    "nothing made through it"
rm -f "$state"/*

# Folders other users can change: one line naming the folder, the game plays on.
mkdir -p "$dir/shared/vartok" "$dir/theirs"
chmod 777 "$dir/shared"
ln -s "$dir/victim.txt" "$dir/shared/vartok/current.pgn"
chown 65534 "$dir/theirs" 2>/dev/null || chmod 777 "$dir/theirs"
expected=$(moves | timeout 60 "$vartok" BLACK_HUMAN COMMANDS 2>/dev/null | head -n -1)
for folder in "$dir/shared" "$dir/theirs"; do
    out=$(moves | XDG_STATE_HOME=$folder timeout 60 "$vartok" BLACK_HUMAN COMMANDS 2>"$dir/err")
    problem=""
    [[ $(cat "$dir/err") == "vartok: bad owner or permissions on $folder, so no game is kept there" ]] ||
        problem="standard error: $(cat "$dir/err")"
    [[ $(head -n -1 <<<"$out") == "$expected" ]] || problem="$problem; the game played differently"
    [[ $(cat "$dir/victim.txt") == "victim's text" ]] || problem="$problem; a file there changed"
    [[ $(ls -A "$folder" | grep -cv '^vartok$') -eq 0 ]] || problem="$problem; files made in it"
    verdict "records in $(basename "$folder")" "$problem" "refused, the game plays on"
done

# A closed standard output: the game ends as when its output is lost, and the lock file
# does not get the boards.
printf '%s\n' e2 e4 e7 e5 quit | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >&- 2>"$dir/err"
status=$?
problem=""
[[ $status -eq 1 ]] || problem="status $status"
grep -q "^vartok: could not write to standard output" "$dir/err" || problem="$problem; $(cat "$dir/err")"
[[ -s $state/current.lock ]] && problem="$problem; current.lock holds $(wc -c <"$state/current.lock") bytes"
verdict "a closed standard output" "$problem" "status 1, said why"

# Signals in the middle of the game's writes: no temporary file left, the database whole.
# Games added to a database of some megabytes spend most of their time writing it. (Job
# control, so that the game in the background does not start with SIGINT ignored.)
yes "$(printf '[Event "x"]\n[Result "1-0"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0\n')" |
    head -n 750000 >"$dir/big.pgn"
size=$(stat -c %s "$dir/big.pgn")
set -m
RANDOM=11
signals=(TERM INT HUP)
for i in $(seq 1 "${SIGNAL_RUNS:-15}"); do
    record=$dir/signalled-$i.pgn
    cp "$dir/big.pgn" "$record"
    yes '' | "$vartok" WHITE_AI DEPTH1=1 DEPTH2=1 PGN="$record" >/dev/null 2>&1 &
    game=$!
    sleep "$((RANDOM % 2)).$(printf %03d $((RANDOM % 1000)))"
    signal=${signals[i % 3]}
    kill "-$signal" "$game" 2>/dev/null
    wait
    problem=""
    left=$(ls -A "$dir" | grep "^\.signalled-$i\.pgn\.")
    [[ -n $left ]] && problem="left $left"
    cmp -s <(head -c "$size" "$record") "$dir/big.pgn" || problem="$problem; the database changed"
    rm -f "$record" "$dir/.signalled-$i".*
    verdict "SIG$signal during game $i" "$problem" "no temporary file left"
done
set +m

# The temporary files of killed runs are swept at the next start; others' are left.
sleep 0 &
gone=$!
wait
mkdir -p "$state"
touch "$state/.current.pgn.$gone.AbCd12" "$state/.current.pgn.keep"
moves | timeout 60 "$vartok" BLACK_HUMAN COMMANDS >/dev/null 2>&1
problem=""
[[ -e $state/.current.pgn.$gone.AbCd12 ]] && problem="the stale one is there"
[[ -e $state/.current.pgn.keep ]] || problem="$problem; another file was removed"
verdict "stale temporary files" "$problem" "swept"

echo "$failures failed"
[[ $failures -eq 0 ]]
