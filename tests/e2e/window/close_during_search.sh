#!/usr/bin/env bash
# Closes the window at random moments of the computer's searches while busy processes load
# the machine: every close must end the game at once with status 0. Once, during a search,
# the window is covered and uncovered: it must be repainted while the search goes on.
# Two lanes run side by side, each on a display of its own.
# Usage: close_during_search.sh VARTOK_BINARY CLOSE_WINDOW_HELPER DATA_DIR [CLOSES]
set -u
vartok=$1 close_window=$2 data_dir=$3 closes=${4:-20}
lanes=2
busy_processes=3
# A search long enough (seconds on a quiet machine) that no close comes after its end.
search_words="DEPTH1=6 DEADEND=100000"

if ! command -v Xvfb >/dev/null; then
    echo "FAIL: Xvfb is not installed (tools/install-packages.sh test installs it)"
    exit 1
fi
for tool in xdotool convert import xlogo; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing (xdotool, imagemagick, x11-apps)"; exit 1; }
done

work=$(mktemp -d)
busy_pids=() lane_pids=()
cleanup() {
    for pid in "${lane_pids[@]}" "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq $busy_processes); do
    timeout 150 sh -c 'while :; do :; done' &
    busy_pids+=($!)
done

threads_of() { ls "/proc/$1/task" 2>/dev/null | wc -l; }

# One game: a person plays g2-g3, the computer searches, the window is closed CLOSE_DELAY
# seconds into the search (and, with COVER, covered and uncovered before). Prints one line.
one_game() { # one_game LANE RUN CLOSE_DELAY COVER
    local lane=$1 run=$2 delay=$3 cover=$4 dir=$work/lane$1
    local out=$dir/out.$run game_pid base status=running verdict=ok
    (cd "$data_dir" && exec "$vartok" GRAPHICS $search_words </dev/null >"$out" 2>"$dir/err.$run") &
    game_pid=$!
    if ! wait_for_window; then
        kill "$game_pid"
        echo "FAIL: lane $lane run $run: no window"
        return
    fi
    # The prompt is written out once the game waits for the cursor.
    for _ in $(seq 100); do grep -q "^Select piece.$" "$out" && break; sleep 0.05; done
    base=$(threads_of "$game_pid")
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool key --delay 40 Up Left Return Up Return
    # The search runs once its worker threads do.
    for _ in $(seq 200); do [ "$(threads_of "$game_pid")" -gt "$base" ] && break; sleep 0.05; done
    if [ "$(threads_of "$game_pid")" -le "$base" ]; then
        kill "$game_pid"
        echo "FAIL: lane $lane run $run: the search did not start"
        return
    fi
    if [ "$cover" = 1 ]; then
        xlogo -geometry 640x400+192+184 &
        local cover_pid=$!
        for _ in $(seq 50); do xdotool search --name '^xlogo$' >/dev/null 2>&1 && break; sleep 0.05; done
        sleep 0.3
        kill "$cover_pid"
        wait "$cover_pid" 2>/dev/null
        sleep 0.5
        import -window "$win" "$dir/uncovered.png"
        local blue searching
        blue=$(convert "$dir/uncovered.png" -format "%[hex:p{639,399}]" info:)
        searching=$(threads_of "$game_pid")
        if [ "$blue" != 0000A0 ] || [ "$searching" -le "$base" ]; then
            echo "FAIL: lane $lane run $run: not repainted during the search (corner $blue)"
        else
            echo "ok: lane $lane run $run: uncovered window repainted during the search"
        fi
    fi
    sleep "$delay"
    local searching_at_close
    searching_at_close=$(threads_of "$game_pid")
    # At once: the next keep-alive of the search sees the close.
    local pid=$game_pid
    close_window_and_wait 30
    status=$closed_status
    if [ "$status" = running ]; then
        kill "$pid"
        wait "$pid" 2>/dev/null
        verdict="FAIL"
    elif [ "$status" != 0 ]; then
        verdict="FAIL"
    elif [ "$searching_at_close" -le "$base" ] || grep -q "Moving" "$out" ||
        ! grep -q "^2: Black's turn.$" "$out"; then
        verdict="FAIL (the close did not come during the search)"
    fi
    echo "$verdict: lane $lane run $run: closed ${delay} s into the search, status $status"
}

lane() { # lane NUMBER RUNS
    local lane=$1 runs=$2
    mkdir -p "$work/lane$lane"
    source "$(dirname "$0")/../../../tools/xvfb_session.sh"
    start_xvfb "$work/lane$lane" || { echo "FAIL: lane $lane: Xvfb did not start"; return; }
    for run in $(seq "$runs"); do
        # Up to 1.5 s into the search, in steps of 10 ms.
        local delay
        delay=$(printf '%d.%02d' $((RANDOM % 150 / 100)) $((RANDOM % 100)))
        one_game "$lane" "$run" "$delay" $([ "$run" = 1 ] && echo 1 || echo 0)
    done
    kill "$xvfb_pid"
}

for l in $(seq $lanes); do
    lane "$l" $(((closes + lanes - l) / lanes)) >"$work/lane$l.log" 2>&1 &
    lane_pids+=($!)
done
wait "${lane_pids[@]}"
lane_pids=()
cat "$work"/lane*.log
passed=$(grep -c "^ok: .*status 0$" "$work"/lane*.log | awk -F: '{s += $2} END {print s}')
failed=$(cat "$work"/lane*.log | grep -c "^FAIL")
echo "closes during searches: $passed of $closes ended the game with status 0; $failed failure(s)"
[ "$failed" = 0 ] && [ "$passed" = "$closes" ]
