#!/usr/bin/env bash
# vartok-engine with Player strong under what GUIs do: a first timed move right after
# isready with a large Hash, a go while a search runs, a setting during a search, the end of
# input during go and go infinite, and a Hash larger than the memory there is.
set -uo pipefail
engine=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../engine/uci_session.sh"

failures=0
fail() {
    echo "FAIL: $*"
    [[ -n ${seen:-} ]] && printf '  last lines read:\n%s\n' "$(tail -n 6 <<<"$seen" | sed 's/^/    /')"
    failures=$((failures + 1))
}
now_us() { echo "${EPOCHREALTIME//[.,]/}"; }
strong="setoption name Player value strong
setoption name Threads value 1"

# --- The table is made before readyok, so the first go movetime 50 answers at once ---
start_engine "$engine"
send "$strong"
send "setoption name Hash value 1024"
send "position startpos"
send isready
expect '^readyok$' 60 || fail "no readyok after Hash 1024"
started=$(now_us)
send "go movetime 50"
expect_bestmove 10 || fail "go movetime 50: no bestmove"
# Typically 45 ms, under 100 ms with the machine loaded; a table made in the search took 1.5 s.
elapsed=$((($(now_us) - started) / 1000))
echo "first go movetime 50 after readyok with Hash 1024: $elapsed ms"
((elapsed < 1000)) || fail "the first go movetime 50 answered after $elapsed ms"

# --- A go during a search ends it (its bestmove is sent) and starts the new one ---
send "go"
sleep 0.3
send "go depth 2"
started=$(now_us)
if expect_bestmove 2 && expect_bestmove 2; then
    echo "go, go depth 2: both answered within $((($(now_us) - started) / 1000)) ms"
    grep -q '^info depth 2 ' <<<"$seen" || fail "go depth 2 did not search to depth 2"
else
    fail "go, then go depth 2: not two bestmove lines"
fi

# --- A setting during a search is refused, and the loop goes on reading ---
send "go infinite"
send "setoption name Hash value 16"
expect '^info string setoption: not during' 5 || fail "a setoption during go infinite was not refused"
send isready
expect '^readyok$' 5 || fail "no readyok during go infinite"
send stop
expect_bestmove 5 || fail "stop: no bestmove"
send quit
for _ in {1..50}; do kill -0 "$engine_pid" 2>/dev/null && sleep 0.1; done
if kill -0 "$engine_pid" 2>/dev/null; then
    fail "quit: the engine still runs after 5 s"
    kill -9 "$engine_pid"
fi
wait "$engine_pid" || fail "the engine exited with a failure"

# --- The end of input ends a search without an end of its own, and the engine ---
for go in "go" "go infinite"; do
    started=$(now_us)
    output=$({
        printf '%s\nposition startpos\n%s\n' "$strong" "$go"
        sleep 0.3
    } | timeout 20 "$engine")
    status=$?
    elapsed=$((($(now_us) - started) / 1000))
    echo "end of input 0.3 s into '$go': exit after $elapsed ms"
    ((status == 0)) || fail "'$go' then the end of input: exit status $status"
    ((elapsed < 2300)) || fail "'$go' then the end of input: ended after $elapsed ms"
    grep -q '^bestmove [a-h][1-8][a-h][1-8]' <<<"$output" || fail "'$go' then the end of input: no bestmove"
done

# --- Hash 65536 with less memory than that: halved until it can be had, no crash ---
output=$( (
    ulimit -v 1000000 # KB: the engine may have under a gigabyte
    printf '%s\nsetoption name Hash value 65536\nisready\nposition startpos\ngo depth 3\nquit\n' \
        "$strong" | timeout 60 "$engine" 2>&1
))
status=$?
echo "Hash 65536 within 1 GB: $(grep '^info string Hash' <<<"$output")"
((status == 0)) || fail "Hash 65536 within 1 GB: exit status $status"
grep -Eq '^info string Hash: 65536 MB cannot be had here; the table has [0-9]+ MB$' <<<"$output" ||
    fail "Hash 65536 within 1 GB: not told what the table has"
grep -q '^readyok$' <<<"$output" && grep -q '^bestmove ' <<<"$output" ||
    fail "Hash 65536 within 1 GB: no readyok or no bestmove"

((failures == 0)) && echo "Player strong under a GUI's habits: ok"
exit $((failures > 0))
