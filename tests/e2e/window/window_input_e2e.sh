#!/usr/bin/env bash
# The window's input under Xvfb with real events (xdotool): a click on a square takes it as
# the cursor and Return would, on a turned board too; Escape drops a chosen piece; with
# COMMANDS the keys U (take back), H (hint) and F1 (the keys, in a box); and without the
# words a click or Escape does what it always did.
# Usage: window_input_e2e.sh VARTOK_BINARY CLOSE_WINDOW_HELPER DATA_DIR
set -u
vartok=$1 close_window=$2 data_dir=$3

source "$(dirname "$0")/../../../tools/xvfb_session.sh"
begin_window_test xdotool convert import

cd "$data_dir" || exit 1

destination=00A000 box=A00000

shot() { import -window "$win" "$work/$1.png"; }
box_shown() { convert "$work/$1.png" -format "%[hex:p{90,70}]" info: | grep -qx "$box"; }
lines_of() { grep -cxF -- "$1" "$work/stdout"; }
# A left click in the middle of the square at picture row ROW, column COL.
click() { # ROW COL
    xdotool mousemove --window "$win" $(((8 + $2 * 24 + 12) * 2)) $((($1 * 24 + 12) * 2)) \
        click 1
    sleep 0.2
}
keys() { xdotool key --delay 100 "$@"; }

echo "--- without COMMANDS or PANEL: clicks do nothing, Escape redraws as before"
start_game BLACK_HUMAN
check "the game asks for a piece" output_has "Select piece."
click 6 4
sleep 1
check "a click on e2 chooses nothing" [ "$(lines_of "Select where to move.")" = 0 ]
keys Left Left Left Up Return
check "the arrows and Return choose e2" output_has "Select where to move."
boards=$(grep -c '^8 ' "$work/stdout")
keys Escape
check "Escape redraws the board as any other key" \
    eval 'sleep 1; [ "$(grep -c "^8 " "$work/stdout")" = $((boards + 1)) ]'
check "and keeps the piece chosen" [ "$(lines_of "Select piece.")" = 1 ]
close_game

echo "--- COMMANDS: clicks, Escape, U, H and F1"
start_game BLACK_HUMAN COMMANDS
check "the game asks for a piece" output_has "Select piece."
click 6 4
check "a click on e2 chooses the pawn" output_has "Select where to move."
check "its destinations are marked" await marked square_has marked 5 4 "$destination"
keys Escape
check "Escape drops it: the piece is asked for again" output_has "Select piece." 2
check "the marks are gone" await dropped square_lacks dropped 5 4 "$destination"
click 6 4
click 4 4
check "clicks on e2 and e4 play e2-e4" output_has "2: Black's turn."
click 1 4
click 3 4
check "clicks on e7 and e5 play e7-e5" output_has "3: White's turn."
check "the record holds e4 e5" [ "$(record_moves | tr '\n' ' ')" = "e4 e5 " ]
keys u
check "U takes back e7-e5" output_has "2: Black's turn." 2
check "the record holds e4" eval 'sleep 0.5; [ "$(record_moves | tr "\n" " ")" = "e4 " ]'
keys h
check "H prints a hint" eval 'for _ in $(seq 600); do grep -qE "^Hint: [a-h][1-8]-[a-h][1-8]" "$work/stdout" && break; sleep 0.1; done; grep -qE "^Hint: " "$work/stdout"'
check "and shows it in a box" await hint box_shown hint
keys Return
check "a key puts the box away" await board eval '! box_shown board'
keys F1
check "F1 lists the keys" output_has "Keys: the arrows and Return, or a click, choose a square; Escape drops the chosen piece; U takes back a move; H shows a hint; F1 or ? shows these keys."
check "in a box" await help box_shown help
keys Return
click 1 3
click 3 3
check "the game goes on: d7-d5" output_has "3: White's turn." 2
check "the record holds e4 d5" [ "$(record_moves | tr '\n' ' ')" = "e4 d5 " ]
# g1's knight, then e5, a square it cannot reach: the choice is dropped, with no box.
asked() { grep -cxF -- "$1" "$work/stdout"; }
where=$(asked "Select where to move.") piece=$(asked "Select piece.")
click 7 6
check "a click on g1 chooses the knight" output_has "Select where to move." $((where + 1))
click 3 4
check "a click on a square no move reaches drops the choice" \
    output_has "Select piece." $((piece + 1))
check "without a box" await misclick eval '! box_shown misclick'
click 7 6
click 5 5
check "the game goes on: Nf3" eval 'sleep 0.5; [ "$(record_moves | tr "\n" " ")" = "e4 d5 Nf3 " ]'
close_game

echo "--- PANEL with FLIP: a click on the turned board"
start_game WHITE_AI BLACK_HUMAN FLIP PANEL DEPTH1=1 DEPTH2=1
check "the computer has moved" output_has "2: Black's turn."
# e7 and e5 are at picture (6, 3) and (4, 3) when Black is at the bottom.
click 6 3
click 4 3
check "clicks on e7 and e5 play e7-e5" output_has "3: White's turn."
check "the record's second move is e5" [ "$(record_moves | sed -n 2p)" = e5 ]
close_game

finish_window_test "window input e2e"
