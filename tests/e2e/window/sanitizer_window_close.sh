#!/usr/bin/env bash
# The game in a window under Xvfb, built with the sanitizers and leak detection on: a move
# with the arrow keys, then the window is closed. The close must end the game with status
# 0 and keep everything it printed; the libraries' own leaks are suppressed by the
# repository's suppressions file, not by switching leak detection off.
# Mesa's software OpenGL driver leaks too, and is unloaded before the leak report, where no
# name is left to suppress it by: the window is opened without OpenGL (as on a display
# without it), with the software renderer.
# Usage: sanitizer_window_close.sh VARTOK_BINARY CLOSE_WINDOW_HELPER DATA_DIR SUPPRESSIONS
set -u
vartok=$1 close_window=$2 data_dir=$3 suppressions=$4

source "$(dirname "$0")/../../../tools/xvfb_session.sh"
begin_window_test xdotool

(cd "$data_dir" && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$suppressions" \
    SDL_OPENGL_LIBRARY=/nonexistent/libGL.so.1 \
    exec "$vartok" GRAPHICS BLACK_HUMAN </dev/null >"$work/stdout" 2>"$work/stderr") &
game_pid=$!
wait_for_window || { echo "FAIL: no window titled Vartok"; cat "$work/stderr"; exit 1; }
prompts() { grep -c "^Select piece.$" "$work/stdout"; }
for _ in $(seq 100); do [ "$(prompts)" -ge 1 ] && break; sleep 0.1; done
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
xdotool key --delay 60 Up Left Left Left Return Up Up Return
for _ in $(seq 100); do [ "$(prompts)" -ge 2 ] && break; sleep 0.1; done
close_window_and_wait 100
check "closing the window ends the game with status 0" [ "$closed_status" = 0 ]
check "no leak is reported" eval '! grep -q "LeakSanitizer" "$work/stderr"'
check "no other sanitizer report" eval '! grep -qE "AddressSanitizer|runtime error" "$work/stderr"'
check "the move was played" grep -q "^2: Black's turn.$" "$work/stdout"
check "the output is kept up to the last prompt" \
    eval '[ "$(tail -n 1 "$work/stdout")" = "Select piece." ] && [ "$(prompts)" = 2 ]'
if [ "$failures" -ne 0 ]; then
    echo "--- stderr"; head -40 "$work/stderr"
    echo "sanitizer window close: $failures check(s) failed"
    exit 1
fi
echo "sanitizer window close: all checks passed"
