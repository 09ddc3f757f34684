# Shared by the scripts that run the game in a real window under Xvfb (needs xvfb, xdotool).
# Source it, then call start_xvfb WORK_DIR and, once the game runs, wait_for_window.

# Starts a display of its own (Xvfb picks a free number and writes it to fd 3); sets
# xvfb_pid and DISPLAY. Returns 1 with Xvfb's log when it does not start.
start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { cat "$work/xvfb.log"; return 1; }
    export DISPLAY=":$(head -1 "$work/display")"
}

# Waits up to 30 s (a loaded machine is slow to start a window) for the window titled
# Vartok; sets win, returns 1 when none appears.
wait_for_window() {
    win=
    for _ in $(seq 300); do
        win=$(xdotool search --name '^Vartok$' 2>/dev/null | head -1)
        [ -n "$win" ] && return 0
        sleep 0.1
    done
    return 1
}
