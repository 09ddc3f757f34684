#!/usr/bin/env bash
# The typed commands of COMMANDS, and the same words without it.
source "$(dirname "$0")/e2e_lib.sh" "$1"

current="without COMMANDS the words are squares"
play BLACK_HUMAN "$(moves undo help quit)"
check_count "That tile does not exist." 3
check_status 1

current="help lists the commands"
play "BLACK_HUMAN COMMANDS" "$(moves help)"
check_has "Type the square of a piece (e2), or one of these commands:"
check_has "  undo    take back the last move (against the computer: yours and its reply)"
check_lacks "That tile does not exist."

current="nothing to take back at the first move"
play "BLACK_HUMAN COMMANDS" "$(moves undo e2 e4 undo undo)"
check_count "There is no move to take back." 2
check_count "1: White's turn." 4
check_status 1

current="a take-back against the computer returns to the person's turn"
play "COMMANDS DEPTH1=1 DEPTH2=1" "$(moves e2 e4 undo d2 d4)"
check_has "2: Moving c7 to c5 (opening book)"
check_has "2: Moving f7 to f5 (opening book)"
check_count "1: White's turn." 2
check_rank 5 "[   ]]   [[   ]]   [[   ]] p [[   ]]   ["

current="resigning ends the game as a loss"
play "BLACK_HUMAN COMMANDS" "$(moves e2 e4 resign)"
check_status 0
check_tail "Black resigns. White won.\n"
checks=$((checks + 1))
grep -q '^\[Result "1-0"\]$' "$e2e_dir/record.pgn" || fail "the record's result is not 1-0"

current="quitting keeps the game for later"
play "BLACK_HUMAN COMMANDS" "$(moves e2 e4 moves quit)"
check_status 0
check_has "1. e4"
check_tail "The game is kept in $e2e_dir/record.pgn; continue it with RESUME=$e2e_dir/record.pgn.\n"
checks=$((checks + 1))
grep -q '^\[Result "\*"\]$' "$e2e_dir/record.pgn" || fail "the record is not left unfinished"

finish
