#!/usr/bin/env bash
# A game on clocks in a real window under Xvfb: the person's flag falls while the game waits
# for a key, the window keeps the flag's message until a key, then the game ends with status
# 0, and the wait costs next to no processor time although the panel's clocks are redrawn.
# Usage: clock_window.sh VARTOK_BINARY DATA_DIR
set -u
vartok=$1 data_dir=$2

source "$(dirname "$0")/../../../tools/xvfb_session.sh"
begin_window_test xdotool
cd "$data_dir" || exit 1

checks=0 failures=0
# The person is at the window, silent: standard input stays open and says nothing.
{ sleep 20; } | /usr/bin/time -f '%U %S' -o "$work/cpu" \
    "$vartok" GRAPHICS BLACK_HUMAN CLOCK=0.05 PGN="$work/record.pgn" >"$work/out" 2>/dev/null &
game_pid=$!
wait_for_window || { echo "FAIL: no window"; exit 1; }
for _ in $(seq 150); do grep -q "time is up" "$work/out" && break; sleep 0.1; done
sleep 0.5
checks=$((checks + 1))
if grep -qx "White's time is up. Black won." "$work/out"; then
    echo "ok: the flag fell in the window"
else
    echo "FAIL: no flag: $(tail -n 3 "$work/out")"
    failures=$((failures + 1))
fi
checks=$((checks + 2))
if kill -0 "$game_pid" 2>/dev/null; then
    echo "ok: the window stays with the message"
else
    echo "FAIL: the window went without waiting for a key"
    failures=$((failures + 1))
fi
xdotool key Return
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid"
status=$?
if [[ $status -eq 0 ]]; then
    echo "ok: a key ends the game with status 0"
else
    echo "FAIL: status $status after the key"
    failures=$((failures + 1))
fi
checks=$((checks + 1))
if grep -q '^\[Termination "time forfeit"\]$' "$work/record.pgn" &&
    grep -q '^\[Result "0-1"\]$' "$work/record.pgn"; then
    echo "ok: the record says time forfeit"
else
    echo "FAIL: record: $(grep -E 'Result|Termination' "$work/record.pgn")"
    failures=$((failures + 1))
fi
# The panel's clocks tick in the window alone: the text board is printed once, at the prompt.
checks=$((checks + 1))
boards=$(grep -c '^  a    b    c    d    e    f    g    h  $' "$work/out")
if [[ $boards -eq 1 ]]; then
    echo "ok: one text board printed while the clocks ran"
else
    echo "FAIL: $boards text boards printed while the clocks ran"
    failures=$((failures + 1))
fi
# The wait redraws the clocks every tenth of a second below 20 s: well under half a core.
checks=$((checks + 1))
cpu=$(awk '{print $1 + $2}' "$work/cpu" 2>/dev/null)
if [[ -n $cpu ]] && awk -v c="$cpu" 'BEGIN { exit !(c < 1.5) }'; then
    echo "ok: $cpu s of processor time over 3 s of waiting"
else
    echo "FAIL: processor time '$cpu' s"
    failures=$((failures + 1))
fi
game_pid=
echo "$checks checks, $failures failed"
[[ $failures -eq 0 ]]
