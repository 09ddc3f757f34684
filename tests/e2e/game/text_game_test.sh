#!/usr/bin/env bash
# Two persons play whole games in text mode.
source "$(dirname "$0")/e2e_lib.sh" "$1"

current="first board and selection"
play BLACK_HUMAN "$(moves e2)"
check_status 1
check_has "  a    b    c    d    e    f    g    h  "
check_has "8 ] r [[ h ]] b [[ q ]] k [[ b ]] h [[ r ]"
check_has "7 [ p ]] p [[ p ]] p [[ p ]] p [[ p ]] p ["
check_has "6 ]   [[   ]]   [[   ]]   [[   ]]   [[   ]"
check_has "1 [ R ]] H [[ B ]] Q [[ K ]] B [[ H ]] R ["
check_has "1: White's turn."
# The chosen piece and its two destinations in double frames.
check_has "2 ] P [[ P ]] P [[ P ][[P]][ P ]] P [[ P ]"
check_has "3 [   ]]   [[   ]]   [[[ ]]]   [[   ]]   ["
check_has "4 ]   [[   ]]   [[   ][[ ]][   ]]   [[   ]"
check_tail "Select where to move.\nEnd of input.\n"
expected_start="  a    b    c    d    e    f    g    h  
8 ] r [[ h ]] b [[ q ]] k [[ b ]] h [[ r ]
7 [ p ]] p [[ p ]] p [[ p ]] p [[ p ]] p [
6 ]   [[   ]]   [[   ]]   [[   ]]   [[   ]
5 [   ]]   [[   ]]   [[   ]]   [[   ]]   [
4 ]   [[   ]]   [[   ]]   [[   ]]   [[   ]
3 [   ]]   [[   ]]   [[   ]]   [[   ]]   [
2 ] P [[ P ]] P [[ P ]] P [[ P ]] P [[ P ]
1 [ R ]] H [[ B ]] Q [[ K ]] B [[ H ]] R [
1: White's turn.
Select piece.
"
checks=$((checks + 1))
[[ "$out" == "$expected_start"* ]] || fail "the game does not open with the plain board"

current="fool's mate"
play BLACK_HUMAN "$(moves f2 f3 e7 e5 g2 g4 d8 h4 '')"
check_status 0
check_has "4: Black's turn."
check_lacks "5: White's turn."
check_tail "Checkmate. Black won.\n\n"

current="scholar's mate names White"
play BLACK_HUMAN "$(moves e2 e4 e7 e5 f1 c4 b8 c6 d1 h5 g8 f6 h5 f7 '')"
check_status 0
check_tail "Checkmate. White won.\n\n"

current="castling on both sides"
play BLACK_HUMAN "$(moves e2 e4 e7 e5 g1 f3 b8 c6 f1 c4 d7 d6 e1 g1 c8 e6 d2 d3 d8 d7 b1 c3 e8 c8)"
check_status 1
check_rank 1 "[ R ]]   [[ B ]] Q [[   ]] R [[ K ]]   ["
check_rank 8 "]   [[   ]] k [[ r ]]   [[ b ]] h [[ r ]"
check_has "12: Black's turn."

current="en passant"
play BLACK_HUMAN "$(moves e2 e4 a7 a6 e4 e5 d7 d5 e5 d6)"
check_status 1
check_rank 5 "[   ]]   [[   ]]   [[   ]]   [[   ]]   ["
check_rank 6 "] p [[   ]]   [[ P ]]   [[   ]]   [[   ]"

current="promotion with a wrong answer first"
play BLACK_HUMAN "$(moves a2 a4 b7 b5 a4 b5 a7 a6 b5 a6 c8 b7 a6 b7 b8 c6 b7 a8 x k)"
check_status 1
check_count "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook" 2
check_rank 8 "] H [[   ]]   [[ q ]] k [[ b ]] h [[ r ]"
check_has "10: Black's turn."

current="promotion answered in upper case"
play BLACK_HUMAN "$(moves a2 a4 b7 b5 a4 b5 a7 a6 b5 a6 c8 b7 a6 b7 b8 c6 b7 a8 Queen)"
check_count "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook" 1
check_rank 8 "] Q [[   ]]   [[ q ]] k [[ b ]] h [[ r ]"

current="knight shuffle ends in a third repetition"
play BLACK_HUMAN "$(moves g1 f3 g8 f6 f3 g1 f6 g8 g1 f3 g8 f6 f3 g1 f6 g8 g1 f3 g8 f6 '')"
check_status 0
check_has "10: Black's turn."
check_lacks "11: White's turn."
check_tail "1 [ R ]] H [[ B ]] Q [[ K ]] B [[   ]] R [\nDraw: Third repetition.\n"

finish
