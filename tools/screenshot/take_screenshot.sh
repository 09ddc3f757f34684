#!/usr/bin/env bash
# Takes the README's screenshot of the window: the game under Xvfb after the person has
# chosen the pawn on e2, so that the cursor and the destination markers show.
# Usage: tools/screenshot/take_screenshot.sh BUILD_DIR OUTPUT.png   (needs xvfb, xdotool,
# imagemagick)
source "$(dirname "$0")/../script_help.sh"
set -u
build=$(cd "${1:?usage: take_screenshot.sh BUILD_DIR OUTPUT.png}" && pwd)
output=$(realpath -m "${2:?usage: take_screenshot.sh BUILD_DIR OUTPUT.png}")
work=$(mktemp -d)
xvfb_pid= game_pid=
trap '[ -n "$game_pid" ] && kill $game_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

source "$(dirname "$0")/../xvfb_session.sh"
start_xvfb "$work" || { echo "Xvfb did not start"; exit 1; }

cd "$build" && ./vartok GRAPHICS BLACK_HUMAN </dev/null >/dev/null 2>&1 &
game_pid=$!
wait_for_window || { echo "the window did not open"; exit 1; }
xdotool windowfocus "$win" 2>/dev/null
xdotool mousemove --window "$win" 300 300
xdotool key --delay 80 Up Left Left Left Return
sleep 0.5
import -window "$win" "$output"
echo "wrote $output"
