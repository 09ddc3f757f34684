#!/usr/bin/env bash
# The text board with chess symbols (UNICODE) through a pipe and on a terminal, and turned
# for a person playing Black (FLIP). Every game's record must read back to the last board
# printed, whichever way that board is drawn.
source "$(dirname "$0")/e2e_lib.sh" "$1"

esc=$'\033'

# The record check reads the last board shown: framed letters or chess symbols, colours
# stripped, with rank 8 or rank 1 at the top.
last_board_placement() {
    sed -e "s/$esc\[[0-9;]*m//g" -e 's/\r$//' \
        -e 's/♔/K/g; s/♕/Q/g; s/♖/R/g; s/♗/B/g; s/♘/N/g; s/♙/P/g' \
        -e 's/♚/k/g; s/♛/q/g; s/♜/r/g; s/♝/b/g; s/♞/n/g; s/♟/p/g' "$1" |
        grep -E '^[1-8] ([][]|.* [1-8]$)' | tail -n 8 | awk '
        { line[NR] = $0 }
        END {
            flipped = substr(line[1], 1, 1) == "1"
            for (rank = 8; rank >= 1; rank--) {
                s = line[flipped ? rank : 9 - rank]
                symbols = length(s) < 40 # three characters a square, not five
                field = ""; empty = 0
                for (file = 0; file < 8; file++) {
                    at = flipped ? 7 - file : file
                    c = symbols ? substr(s, 4 + 3 * at, 1) : substr(s, 5 + 5 * at, 1)
                    if (c == " " || c == ".") { empty++; continue }
                    if (empty) { field = field empty; empty = 0 }
                    if (c == "H") c = "N"; else if (c == "h") c = "n"
                    field = field c
                }
                if (empty) field = field empty
                rows = rows (rank < 8 ? "/" : "") field
            }
            print rows
        }'
}

# The output without its boards: every other line must stay as it is without the words.
without_boards() {
    printf '%s' "$1" | sed -e "s/$esc\[[0-9;]*m//g" |
        grep -vE '^[1-8] ([][]|.* [1-8]$)|^ +a +b +c ' || true
}

# Unchanged outside the board: prompts, refusals, the claim, the promotion question.
messages="$(moves z9 e7 '' e2 e5 '' draw '' a2 a4 b7 b5 a4 b5 a7 a6 b5 a6 c8 b7 a6 b7 b8 c6 b7 a8 x q)"

current="UNICODE through a pipe: symbols, labels, no colours"
play "BLACK_HUMAN UNICODE" "$(moves e2)"
check_status 1
expected_start="   a  b  c  d  e  f  g  h
8  ♜  ♞  ♝  ♛  ♚  ♝  ♞  ♜  8
7  ♟  ♟  ♟  ♟  ♟  ♟  ♟  ♟  7
6     .     .     .     .  6
5  .     .     .     .     5
4     .     .     .     .  4
3  .     .     .     .     3
2  ♙  ♙  ♙  ♙  ♙  ♙  ♙  ♙  2
1  ♖  ♘  ♗  ♕  ♔  ♗  ♘  ♖  1
   a  b  c  d  e  f  g  h
1: White's turn.
Select piece.
"
checks=$((checks + 1))
[[ "$out" == "$expected_start"* ]] || fail "the game does not open with the Unicode board"
# The chosen pawn and its two destinations in brackets.
check_has "4     .     . [ ] .     .  4"
check_has "3  .     .    [ ]    .     3"
check_has "2  ♙  ♙  ♙  ♙ [♙] ♙  ♙  ♙  2"
check_count "   a  b  c  d  e  f  g  h" 4
check_tail "Select where to move.\nEnd of input.\n"
check_lacks "$esc"

current="UNICODE: a promotion game reads back, every other line as without it"
play "BLACK_HUMAN" "$messages"
plain=$out
play "BLACK_HUMAN UNICODE" "$messages"
check_status 1
check_has "8  ♕  .     ♛  ♚  ♝  ♞  ♜  8"
check_lacks "$esc"
checks=$((checks + 1))
[[ "$(without_boards "$out")" == "$(without_boards "$plain")" ]] ||
    fail "lines outside the board differ: $(diff <(without_boards "$plain") <(without_boards "$out") | head -5)"

current="FLIP: Black's side at the bottom when a person plays Black against the computer"
play "WHITE_AI BLACK_HUMAN FLIP" "$(moves e7 e5)"
check_status 1
expected_flipped="  h    g    f    e    d    c    b    a  
1 ] R [[ H ]] B [[ K ]] Q [[ B ]] H [[ R ]
2 [ P ]] P [[ P ]] P [[ P ]] P [[ P ]] P [
3 ]   [[   ]]   [[   ]]   [[   ]]   [[   ]
4 [   ]]   [[   ]]   [[   ]]   [[   ]]   [
5 ]   [[   ]]   [[   ]]   [[   ]]   [[   ]
6 [   ]]   [[   ]]   [[   ]]   [[   ]]   [
7 ] p [[ p ]] p [[ p ]] p [[ p ]] p [[ p ]
8 [ r ]] h [[ b ]] k [[ q ]] b [[ h ]] r [
1: White's turn.
"
checks=$((checks + 1))
[[ "$out" == "$expected_flipped"* ]] || fail "the game does not open with the turned board"
# The book's e2-e4, then e7 chosen: its destinations e6 and e5 in double frames.
check_has "4 [   ]]   [[   ]] P [[   ]]   [[   ]]   ["
check_has "7 ] p [[ p ]] p [[[p]]] p [[ p ]] p [[ p ]"
check_has "6 [   ]]   [[   ][[ ]][   ]]   [[   ]]   ["
check_has "5 ]   [[   ]]   [[[ ]]]   [[   ]]   [[   ]"
# After e7-e5, before the computer's answer.
check_has "5 ]   [[   ]]   [[ p ]]   [[   ]]   [[   ]"
check_has "3: White's turn."

current="FLIP with UNICODE"
play "WHITE_AI BLACK_HUMAN FLIP UNICODE" "$(moves e7)"
check_status 1
check_has "   h  g  f  e  d  c  b  a"
check_has "1  ♖  ♘  ♗  ♔  ♕  ♗  ♘  ♖  1"
check_has "8  ♜  ♞  ♝  ♚  ♛  ♝  ♞  ♜  8"
check_has "7  ♟  ♟  ♟ [♟] ♟  ♟  ♟  ♟  7"
check_has "4  .     .  ♙  .     .     4"

# Where nobody plays Black alone against the computer, FLIP changes nothing; neither does
# PANEL without a window.
for words in "FLIP" "BLACK_HUMAN FLIP" "PANEL"; do
    current="$words changes nothing here"
    input="$(moves e2 e4)" # the computer's answer comes from its book
    play "$(sed 's/FLIP\|PANEL//' <<<"$words")" "$input"
    before=$out
    play "$words" "$input"
    checks=$((checks + 1))
    [[ "$out" == "$before" ]] || fail "the output differs"
done

# On a terminal: the squares in colours, no dots or brackets. `script` gives the game a
# terminal for standard output; stdin still comes from the pipe.
on_terminal() { # on_terminal INPUT WORDS...
    local input=$1
    shift
    out=$(printf '%b' "$input" | timeout 60 script -qec "$vartok $* PGN=$e2e_dir/tty.pgn" /dev/null |
          tr -d '\r')
}

current="UNICODE on a terminal: coloured squares"
on_terminal "$(moves e2)" BLACK_HUMAN UNICODE
light="${esc}[30;107m" dark="${esc}[30;43m" chosen="${esc}[30;104m" target="${esc}[30;42m"
reset="${esc}[0m"
check_has "8 $light ♜ $dark ♞ $light ♝ $dark ♛ $light ♚ $dark ♝ $light ♞ $dark ♜ $reset 8"
check_has "6 $light   $dark   $light   $dark   $light   $dark   $light   $dark   $reset 6"
check_has "1 $dark ♖ $light ♘ $dark ♗ $light ♕ $dark ♔ $light ♗ $dark ♘ $light ♖ $reset 1"
check_has "2 $light ♙ $dark ♙ $light ♙ $dark ♙ $chosen ♙ $dark ♙ $light ♙ $dark ♙ $reset 2"
check_has "3 $dark   $light   $dark   $light   $target   $light   $dark   $light   $reset 3"
check_has "4 $light   $dark   $light   $dark   $target   $dark   $light   $dark   $reset 4"
check_has "   a  b  c  d  e  f  g  h"
check_has "1: White's turn."
check_lacks "[♙]"
checks=$((checks + 1))
record=$(last_board_placement <(printf '%s' "$out"))
[[ $record == rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR ]] || fail "coloured board reads $record"

current="NO_COLOR on a terminal: no colours"
NO_COLOR=1 on_terminal "$(moves e2)" BLACK_HUMAN UNICODE
check_lacks "$esc"
check_has "2  ♙  ♙  ♙  ♙ [♙] ♙  ♙  ♙  2"

current="the plain board on a terminal has no colours either"
on_terminal "$(moves e2)" BLACK_HUMAN
check_lacks "$esc"
check_has "2 ] P [[ P ]] P [[ P ][[P]][ P ]] P [[ P ]"

finish
