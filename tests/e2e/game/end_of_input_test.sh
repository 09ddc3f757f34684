#!/usr/bin/env bash
# A closed input ends the game with status 1 at every prompt, never a loop.
source "$(dirname "$0")/e2e_lib.sh" "$1"

current="at the piece prompt"
play BLACK_HUMAN ""
check_status 1
check_tail "Select piece.\nEnd of input.\n"

current="at the destination prompt"
play BLACK_HUMAN "$(moves e2)"
check_status 1
check_tail "Select where to move.\nEnd of input.\n"

current="waiting for an acknowledgement"
play BLACK_HUMAN "$(moves e4)"
check_status 1
check_tail "There is no piece in that tile.\nEnd of input.\n"

current="at the promotion question"
play BLACK_HUMAN "$(moves a2 a4 b7 b5 a4 b5 a7 a6 b5 a6 c8 b7 a6 b7 b8 c6 b7 a8)"
check_status 1
check_tail "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook\nEnd of input.\n"

current="at the last message of a finished game"
play BLACK_HUMAN "$(moves f2 f3 e7 e5 g2 g4 d8 h4)"
check_status 1
check_tail "Checkmate. Black won.\n\nEnd of input.\n"
checks=$((checks + 1))
grep -q '^\[Result "0-1"\]$' "$e2e_dir/record.pgn" || fail "the record's result is not 0-1"

current="a last line without a newline still counts"
play BLACK_HUMAN "e2\ne4"
check_status 1
check_has "2: Black's turn."

finish
