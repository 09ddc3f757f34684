#!/usr/bin/env bash
# Every refusal at the two prompts, and that the game goes on after each.
source "$(dirname "$0")/e2e_lib.sh" "$1"

current="refusals at the piece and destination prompts"
input=$(moves z9 E2 e4 '' e7 '' a1 '' draw '' e2 e5 '' e2 '' e2 e2 draw '' e2e4 E4 '' e7 e5)
play BLACK_HUMAN "$input"
check_status 1
check_count "That tile does not exist." 2
check_count "There is no piece in that tile." 1
check_count "You cannot move your opponent's piece." 1
check_count "There are no legal moves for this piece." 1
check_count "That move is not legal." 2
check_count "Only 0 moves since pawn moved or piece captured." 1
check_has "2: Black's turn."
check_has "3: White's turn."
check_rank 4 "]   [[   ]]   [[   ]] P [[   ]]   [[   ]"
check_rank 5 "[   ]]   [[   ]]   [[ p ]]   [[   ]]   ["
# The refused draw claim is followed by the empty line of its own newline.
checks=$((checks + 1))
grep -A1 -xF "Only 0 moves since pawn moved or piece captured." < <(printf '%s' "$out") |
    tail -n 1 | grep -qx '' || fail "no empty line after the draw refusal"
# Choosing the piece's own square asks for the destination again.
checks=$((checks + 1))
[[ $(grep -cxF "Select where to move." < <(printf '%s' "$out")) -eq 6 ]] ||
    fail "destination prompts: $(grep -cxF "Select where to move." < <(printf '%s' "$out"))"

current="the selected square stays marked after a refusal"
play BLACK_HUMAN "$(moves e7 '')"
check_rank 7 "[ p ]] p [[ p ]] p [[[p]]] p [[ p ]] p ["

current="a square off the board marks nothing"
play BLACK_HUMAN "$(moves i2)"
check_count "That tile does not exist." 1
checks=$((checks + 1))
! grep -qE '\[\[.\]\]' < <(printf '%s' "$out") || fail "a square is marked"

finish
