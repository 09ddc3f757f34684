#!/usr/bin/env bash
# Measures the processor time the game uses while it waits for a person in graphics mode:
# at the piece prompt (tile cursor) and at a message waiting for a key. Runs the game in a
# window under Xvfb (needs xvfb and xdotool).
# Usage: tools/idle-cpu-benchmark/idle_cpu_benchmark.sh BUILD_DIR [SECONDS]
source "$(dirname "$0")/../script_help.sh"
set -u
build=$(cd "${1:?usage: idle_cpu_benchmark.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-5}
work=$(mktemp -d)
xvfb_pid= game_pid=
trap '[ -n "$game_pid" ] && kill $game_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

source "$(dirname "$0")/../xvfb_session.sh"
start_xvfb "$work" || { echo "Xvfb did not start"; exit 1; }

cd "$build" && ./vartok GRAPHICS BLACK_HUMAN </dev/null >/dev/null 2>&1 &
game_pid=$!
wait_for_window || { echo "the window did not open"; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
measure() { # measure LABEL
    sleep 1 # let the last frame settle
    local before after
    before=$(cpu_ticks)
    sleep "$seconds"
    after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" -v what="$1" \
        'BEGIN { printf "%-40s %5.2f s of CPU in %d s = %5.2f%% of one core\n", what, t / hz, s, 100 * t / hz / s }'
}

measure "waiting at the piece prompt:"
# The cursor starts on h1, a rook without moves: Return brings up a message box.
xdotool windowfocus "$win" 2>/dev/null
xdotool mousemove --window "$win" 300 300
xdotool key Return
sleep 0.5
import -window "$win" "$work/box.png"
[ "$(convert "$work/box.png" -format '%[hex:p{100,70}]' info:)" = A00000 ] ||
    echo "(the message box did not appear)"
measure "waiting for a message to be acknowledged:"
