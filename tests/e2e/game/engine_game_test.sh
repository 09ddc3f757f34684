#!/usr/bin/env bash
# Outside engines as the computer's side, through the real binary: stockfish (UCI) and
# fairymax (xboard) answer a person's moves, shown as the computer's; the record names the
# engine and pgn-extract reads it; undo and RESUME with an engine; an engine that floods its
# handshake is refused, and one whose child leaves its session has the child ended with the
# game; and an engine that cannot start, dies or plays an illegal move ends the game with a
# message and the record kept.
# Usage: engine_game_test.sh VARTOK FAKE_ENGINE
source "$(dirname "$0")/e2e_lib.sh" "$1"
fake=$2
stockfish=/usr/games/stockfish fairymax=/usr/games/fairymax

# The moves of the last record, SAN tokens separated by blanks.
san_of_record() {
    grep -v '^\[' "$e2e_dir/record.pgn" | sed -e 's/{[^}]*}//g' | tr ' ' '\n' |
        grep -vE '^$|^[0-9]+\.+$|^(\*|1-0|0-1|1/2-1/2)$' | tr '\n' ' '
}

for engine in "$stockfish" "$fairymax"; do
    [[ -x $engine ]] || { echo "FAIL: $engine is not installed (tools/install-packages.sh test installs it)"; exit 1; }
    current="a person against $(basename "$engine")"
    play "MOVETIME=200 COMMANDS" "$(moves e2 e4 d2 d4 undo g1 f3 quit)" "ENGINE=$(basename "$engine")"
    check_status 0
    checks=$((checks + 1))
    # Two replies before the take-back, one after it: each the computer's line and thinking.
    n=$(grep -cE '^[0-9]+: Moving [a-h][1-8] to [a-h][1-8]$' <<<"$out")
    [[ $n -eq 3 ]] || fail "$n replies"
    checks=$((checks + 1))
    grep -q '^\[BlackType "program"\]$' "$e2e_dir/record.pgn" &&
        grep -q "^\[BlackEngine \"$(basename "$engine")\"\]$" "$e2e_dir/record.pgn" &&
        ! grep -q '^\[Black "Person"\]$' "$e2e_dir/record.pgn" ||
        fail "record: $(grep -E '^\[Black' "$e2e_dir/record.pgn")"
    checks=$((checks + 1))
    "$pgn_extract" -s "$e2e_dir/record.pgn" >/dev/null 2>&1 || fail "pgn-extract refuses the record"

    current="the game with $(basename "$engine") resumed, the engine named again"
    cp "$e2e_dir/record.pgn" "$e2e_dir/kept.pgn"
    out=$(printf 'b1\nc3\nquit\n' | timeout 60 "$vartok" RESUME="$e2e_dir/kept.pgn" COMMANDS \
          MOVETIME=200 BLACK_ENGINE="$(basename "$engine")" PGN="$e2e_dir/resumed.pgn" 2>/dev/null)
    checks=$((checks + 1))
    grep -qE '^6: Moving [a-h][1-8] to [a-h][1-8]$' <<<"$out" || fail "no reply after the resume"
done

# A record is a file people share: the engine it names is never started by it.
current="a record naming a shell command as its engine"
sed "s|^\[BlackEngine .*|[BlackEngine \"/bin/sh -c id>$e2e_dir/owned\"]|" "$e2e_dir/kept.pgn" \
    >"$e2e_dir/hostile.pgn"
out=$(printf 'quit\n' | timeout 30 "$vartok" RESUME="$e2e_dir/hostile.pgn" COMMANDS \
      PGN="$e2e_dir/h.pgn" 2>"$e2e_dir/err")
status=$?
checks=$((checks + 3))
[[ $status -eq 2 && -z $out ]] || fail "status $status, output '$out'"
[[ $(cat "$e2e_dir/err") == "vartok: this game was played against '/bin/sh -c id>$e2e_dir/owned'; continue it with 'BLACK_ENGINE=/bin/sh -c id>$e2e_dir/owned', or choose another opponent (BLACK_HUMAN, PLAYER=strong)" ]] ||
    fail "stderr: $(cat "$e2e_dir/err")"
[[ ! -e $e2e_dir/owned ]] || fail "the record's command ran"
current="the same record against a person, then against the strong player"
play "COMMANDS" "$(moves b1 c3 quit)" RESUME="$e2e_dir/hostile.pgn" BLACK_HUMAN
check_status 0
checks=$((checks + 2))
[[ ! -e $e2e_dir/owned ]] || fail "the record's command ran"
! grep -q '^\[BlackEngine' "$e2e_dir/record.pgn" || fail "the record still names the engine"
play "COMMANDS MOVETIME=100" "$(moves b1 c3 quit)" RESUME="$e2e_dir/hostile.pgn" PLAYER=strong
check_status 0
checks=$((checks + 1))
grep -qE '^6: Moving [a-h][1-8] to [a-h][1-8]$' <<<"$out" || fail "no reply after the resume"

# The options the engine was started with come back with it, less any naming a file.
current="a resumed engine game gives the engine its recorded options"
play "MOVETIME=100 COMMANDS" "$(moves e2 e4 quit)" ENGINE=stockfish \
    ENGINE_OPTION=UCI_LimitStrength=true ENGINE_OPTION=UCI_Elo=1500
checks=$((checks + 1))
grep -q '^\[BlackEngineOptions "UCI_LimitStrength=true;UCI_Elo=1500"\]$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep '^\[Black' "$e2e_dir/record.pgn")"
sed 's|^\[BlackEngineOptions .*|[BlackEngineOptions "UCI_Elo=1500;Debug Log File=/tmp/x;UCI_LimitStrength=true"]|' \
    "$e2e_dir/record.pgn" >"$e2e_dir/options.pgn"
play "MOVETIME=100 COMMANDS" "$(moves d2 d4 quit)" RESUME="$e2e_dir/options.pgn" BLACK_ENGINE=stockfish
check_status 0
checks=$((checks + 1))
grep -q '^\[BlackEngineOptions "UCI_Elo=1500;UCI_LimitStrength=true"\]$' "$e2e_dir/record.pgn" ||
    fail "resumed record: $(grep '^\[Black' "$e2e_dir/record.pgn")"

current="a thinking line that names another move than the one played is not shown"
play "MOVETIME=100 COMMANDS" "$(moves e2 e4 quit)" "ENGINE=$fake uci other-line"
check_status 0
check_lacks "depth 1, score +0.12"
play "MOVETIME=100 COMMANDS" "$(moves e2 e4 quit)" "ENGINE=$fake uci"
checks=$((checks + 1))
grep -q '^depth 1, score +0.12, [^ ]*$' <<<"$out" || fail "no thinking line for the move played"

current="an engine that cannot start"
out=$(printf '' | timeout 10 "$vartok" ENGINE=/nonexistent/engine PGN="$e2e_dir/none.pgn" 2>"$e2e_dir/err")
status=$?
checks=$((checks + 3))
[[ $status -eq 2 ]] || fail "status $status"
[[ -z $out ]] || fail "something on standard output"
grep -q "/nonexistent/engine" "$e2e_dir/err" || fail "stderr: $(cat "$e2e_dir/err")"

current="an engine that floods options while starting: refused in one line, the game small"
out=$(printf '' | timeout 30 /usr/bin/time -f %M -o "$e2e_dir/peak-kb" "$vartok" \
      "ENGINE=$fake xboard option-flood" PGN="$e2e_dir/none.pgn" 2>"$e2e_dir/err")
status=$?
checks=$((checks + 3))
[[ $status -eq 2 ]] || fail "status $status"
[[ $(wc -l <"$e2e_dir/err") -eq 1 ]] && grep -q 'declares more than' "$e2e_dir/err" ||
    fail "stderr: $(head -c 500 "$e2e_dir/err")"
peak_kb=$(tail -n 1 "$e2e_dir/peak-kb")
((peak_kb < 64 * 1024)) || fail "the game grew to $peak_kb KB"

current="an engine whose child leaves its session: nothing outlives the game"
marker="86399.$$"
printf '#!/bin/sh\nsetsid sleep %s &\nexec %s uci\n' "$marker" "$fake" >"$e2e_dir/leaves-a-child"
chmod +x "$e2e_dir/leaves-a-child"
play "MOVETIME=100 COMMANDS" "$(moves e2 e4 quit)" "ENGINE=$e2e_dir/leaves-a-child"
check_status 0
checks=$((checks + 1))
left=""
for cmdline in /proc/[0-9]*/cmdline; do
    [[ $(tr '\0' ' ' <"$cmdline" 2>/dev/null) == "sleep $marker " ]] && left+=" ${cmdline//[^0-9]/}"
done
[[ -z $left ]] || { fail "its child still runs"; kill $left; }

current="an engine that dies after its first move"
play "MOVETIME=100" "$(moves e2 e4 d2 d4 g1 f3)" "ENGINE=$fake uci die-after=1"
check_status 1
checks=$((checks + 1))
recorded=$(san_of_record)
pattern='^e4 [^ ]+ d4 $'
[[ $recorded =~ $pattern ]] || fail "record: $recorded"

current="an engine that answers with an illegal move"
out=$(printf 'e2\ne4\nd2\nd4\n' | timeout 30 "$vartok" "ENGINE=$fake uci illegal-after=1" \
      MOVETIME=100 PGN="$e2e_dir/illegal.pgn" 2>&1 >/dev/null)
status=$?
checks=$((checks + 2))
[[ $status -eq 1 ]] || fail "status $status"
grep -q 'e2e5' <<<"$out" || fail "the message does not name the move: $out"

current="an engine that hangs, without a clock: a message after its time and five seconds"
out=$(printf 'e2\ne4\n' | timeout 30 "$vartok" "ENGINE=$fake uci hang-after=0" MOVETIME=100 \
      PGN="$e2e_dir/hung.pgn" 2>&1 >/dev/null)
status=$?
checks=$((checks + 2))
[[ $status -eq 1 ]] || fail "status $status"
grep -q 'vartok: .*the game is kept' <<<"$out" || fail "message: $out"

current="an engine that hangs on a clock loses on time"
play "CLOCK=0.05" "$(moves e2 e4)" "ENGINE=$fake uci hang-after=0"
check_status 0
check_tail "Black's time is up. White won.\n"

finish
