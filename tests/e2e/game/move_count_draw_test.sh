#!/usr/bin/env bash
# A draw claim is refused at 50 half-moves without a pawn move or capture, granted at 51.
source "$(dirname "$0")/e2e_lib.sh" "$1"

# After the pawn moves White's rook walks a cycle of three squares and Black's knight one of
# four, so no position is met three times within the last sixteen.
white=(a1 a2 a2 a3 a3 a1)
black=(b8 c6 c6 b4 b4 a6 a6 b8)
input=$(moves a2 a4 a7 a5 h2 h4 h7 h5)
for ((i = 0; i < 25; i++)); do
    w=$(( (i % 3) * 2 ))
    b=$(( (i % 4) * 2 ))
    input+=$(moves "${white[w]}" "${white[w + 1]}" "${black[b]}" "${black[b + 1]}")
done

current="claim refused at 50"
play BLACK_HUMAN "${input}$(moves draw '')"
check_status 1
check_count "Only 50 moves since pawn moved or piece captured." 1
check_lacks "Draw"
check_has "55: White's turn."

current="claim granted at 51, also at Black's prompt"
play BLACK_HUMAN "${input}$(moves draw '' "${white[2]}" "${white[3]}" draw)"
check_status 0
check_has "56: Black's turn."
check_tail "Select piece.\nDraw.\n"

finish
