#!/usr/bin/env bash
# The full-screen board (TUI) driven in tmux as a person would: typed and clicked moves
# (SGR mouse reports), a resize, quit and resume, the clocks ticking and a flag falling, the
# strong player's thinking, a finished game's review, an engine's game, and the terminal
# given back after q and after SIGTERM (stty -a before and after).
# Usage: tui_test.sh VARTOK
set -u
vartok=$1
source "$(dirname "$0")/../../../tools/check_lib.sh"
dir=$(mktemp -d)
sessions=0
socket=$dir/tmux.0.sock
export XDG_CONFIG_HOME=$dir XDG_STATE_HOME=$dir
trap 'tmux -S "$socket" kill-server 2>/dev/null; rm -rf "$dir"' EXIT

# start COLUMNS ROWS WORDS...: the game in a new tmux session; the pane's shell notes the
# game's pid and stty -a before and after it.
start() {
    local columns=$1 rows=$2
    shift 2
    # A server of its own each time: a new session could meet the last one still ending.
    tmux -S "$socket" kill-server 2>/dev/null
    sessions=$((sessions + 1))
    socket=$dir/tmux.$sessions.sock
    rm -f "$dir/pid" "$dir/stty.before" "$dir/stty.after" "$dir/done"
    tmux -S "$socket" new-session -d -x "$columns" -y "$rows" -e LANG=C.UTF-8 \
        -e XDG_CONFIG_HOME="$dir" -e XDG_STATE_HOME="$dir" \
        "stty -a >'$dir/stty.before'; sh -c 'echo \$\$ >\"$dir/pid\"; exec \"\$0\" \"\$@\"' '$vartok' TUI $*; echo \"EXIT \$?\" >'$dir/done'; stty -a >'$dir/stty.after'; sleep 60"
}
screen() { tmux -S "$socket" capture-pane -p; }
# wait_for PATTERN [SECONDS]: until the screen shows PATTERN (grep -E).
wait_for() {
    local tries=$((${2:-10} * 10))
    while ((tries-- > 0)); do
        screen | grep -qE -- "$1" && return 0
        sleep 0.1
    done
    echo "--- screen, waiting for: $1"
    screen
    return 1
}
# the game has ended and the pane's shell has read the terminal settings again.
ended() {
    local tries=100
    while ((tries-- > 0)); do [ -s "$dir/stty.after" ] && return 0; sleep 0.1; done
    return 1
}
keys() { tmux -S "$socket" send-keys "$@"; }
# click COLUMN ROW: a left press and release at the 1-based cell, as SGR 1006 reports it.
click() { keys -l $'\e'"[<0;$1;$2M"$'\e'"[<0;$1;$2m"; sleep 0.2; }

# Not a terminal: one line, status 2, even where an unfinished game waits (nothing is touched).
mkdir -p "$dir/vartok"
printf '[Event "?"]\n[White "a"]\n[Black "b"]\n[Result "*"]\n\n1. e4 *\n' >"$dir/vartok/current.pgn"
err=$("$vartok" TUI </dev/null 2>&1 >/dev/null)
status=$?
check "TUI without a terminal ends with status 2" [ "$status" = 2 ]
check "and says why in one line" [ "$(wc -l <<<"$err")" = 1 ]
rm -f "$dir/vartok/current.pgn"

# A typed move, the computer's reply, a clicked move (80x24: squares 5x2 from column 3).
record=$dir/game.pgn
start 80 24 PGN="$record"
check "the board is drawn" wait_for "^1 +♖ +♘ +♗ +♕ +♔"
keys e 4 Enter
check "typed e4 is played and answered" wait_for "1\. e4 [A-Za-z]"
# g1: file 7, rank 1 (row 15); f3: file 6, rank 3 (row 11). Cells are 1-based.
click 33 15
click 28 11
check "a click on g1 then f3 plays Nf3" wait_for "2\. Nf3( |$)"
check "the knight stands on f3" wait_for "^3 +♘"
wait_for "2\. Nf3 [A-Za-z]" >/dev/null # the reply: the keys below are the person's turn's
keys e 9 Enter
check "an illegal move is refused with a line" wait_for "e9: "
keys Enter Up
check "Enter on the empty prompt, then Up recalls the line typed last" wait_for "^Move: e9_"
keys Escape
keys ?
check "? shows the keys in a box over the board" wait_for "\| u: undo +q: quit"
keys u
sleep 0.3
check "and the next key only closes it (u takes nothing back)" \
    bash -c "! tmux -S '$socket' capture-pane -p | grep -q 'u: undo' && tmux -S '$socket' capture-pane -p | grep -q '2\. Nf3'"
keys u
check "u takes back Nf3 and the reply" wait_for "^ +1\. e4 [A-Za-z0-9+]+ *$"
click 33 15
click 28 11
check "and Nf3 is played again" wait_for "2\. Nf3 [A-Za-z]"
tmux -S "$socket" resize-window -x 60 -y 20
check "at 60x20 the whole board is redrawn smaller" wait_for "^ +a  b  c  d  e  f  g  h"
tmux -S "$socket" resize-window -x 80 -y 24
check "and back at 80x24 it is whole again" wait_for "^ +a    b    c    d    e    f    g    h"
keys q
check "q ends the game" ended
check "the screen says where the game is kept" wait_for "continue it with RESUME"
check "q gives the terminal back as it was" cmp -s "$dir/stty.before" "$dir/stty.after"
check "the record is unfinished" grep -q '^\[Result "\*"\]' "$record"

start 80 24 RESUME="$record"
check "RESUME continues the game on the board" wait_for "2\. Nf3 [A-Za-z]"
keys q
ended

# The clocks tick while the person thinks, then the flag falls (3 s a side).
record=$dir/clock.pgn
start 80 24 CLOCK=0.05+0 PGN="$record"
wait_for "> 0:0[0-9]\.[0-9] <"
first=$(screen | grep -E "> 0:0")
sleep 1.5
second=$(screen | grep -E "> 0:0")
check "the running clock ticks ($first / $second)" [ "$first" != "$second" ]
check "the flag falls on the screen" wait_for "White's time is up\. Black won\."
check "the record's result is 0-1" grep -q '^\[Result "0-1"\]' "$record"
keys q
ended

# The strong player's thinking, live: its depth grows while it thinks. A move typed
# meanwhile is a premove, played as soon as the turn comes.
start 100 30 PLAYER=strong MOVETIME=3000 WHITE_AI BLACK_HUMAN PGN="$dir/strong.pgn"
wait_for "depth [0-9]+" 5
keys e 6 Enter
d1=$(screen | grep -oE "depth [0-9]+" | grep -oE "[0-9]+")
sleep 1.5
d2=$(screen | grep -oE "depth [0-9]+" | grep -oE "[0-9]+")
check "the strong player's depth grows ($d1, then $d2)" [ "${d1:-0}" -lt "${d2:-0}" ]
check "the premove e6 follows its move at once" wait_for " 1\. [A-Za-z0-9+]+ e6( |$)"

# SIGTERM while the board is up (and the computer thinks): the terminal is given back and
# the game is kept.
kill -TERM "$(cat "$dir/pid")"
check "SIGTERM ends the game" ended
check "SIGTERM gives the terminal back as it was" cmp -s "$dir/stty.before" "$dir/stty.after"
check "the game stays kept" grep -q ' e6' "$dir/strong.pgn"

# A finished game reviewed with v: Left steps back to the blunder, its class and a better move.
start 80 24 BLACK_HUMAN PGN="$dir/review.pgn"
wait_for "^1 +♖"
for move in f3 e5 g4 Qh4; do
    keys -l "$move"
    keys Enter
    sleep 0.2
done
check "the end screen offers the review" wait_for "v: review"
keys v
check "v reviews the game" wait_for "^Reviewed\." 20
keys Left
check "Left shows 2. g4 as a blunder" wait_for "2\. g4\?\? \(#-1\)"
check "with a better move" wait_for "better 2\. [A-Za-z][a-h1-8x]+ \([-+][0-9.]+\)"
# n: a new game with the same words, a second game in the same file; the first stays closed.
keys n
check "n sets up a fresh board" wait_for "^2 +♙ +♙ +♙ +♙ +♙ +♙ +♙ +♙"
keys e 4 Enter
check "and the new game is played" wait_for "^ +1\. e4 *$"
keys q
ended
/usr/games/pgn-extract -s -Wsan "$dir/review.pgn" >"$dir/both.pgn" 2>"$dir/both.err"
check "pgn-extract reads both games without a fault" \
    [ "$(grep -c '^\[Event ' "$dir/both.pgn")" = 2 -a ! -s "$dir/both.err" ]
check "the first ends 0-1, the second is unfinished" \
    [ "$(grep -E '^\[Result ' "$dir/both.pgn" | tr -d '\n')" = '[Result "0-1"][Result "*"]' ]

# An outside engine plays Black.
start 80 24 ENGINE=/usr/games/stockfish MOVETIME=100 PGN="$dir/engine.pgn"
wait_for "^1 +♖"
keys d 4 Enter
check "stockfish answers on the board" wait_for "1\. d4 [A-Za-z]"
keys q
ended

finish_checks tui_test
