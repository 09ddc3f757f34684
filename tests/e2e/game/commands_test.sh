#!/usr/bin/env bash
# The typed commands of COMMANDS, and the same words without it.
source "$(dirname "$0")/e2e_lib.sh" "$1"

current="without COMMANDS the words are squares"
play BLACK_HUMAN "$(moves undo help quit)"
check_count "That tile does not exist." 3
check_status 1

current="help lists the commands"
play "BLACK_HUMAN COMMANDS" "$(moves help)"
check_has "Type the square of a piece (e2), a whole move (Nf3, e4, exd5, O-O, e2e4, e7e8q;"
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
play "BLACK_HUMAN COMMANDS" "$(moves e2 e4 resign n resign y)"
check_count "Resign? y/n" 2
check_status 0
check_tail "Black resigns. White won.\nType review to review the game, or Enter to leave.\n"
checks=$((checks + 1))
grep -q '^\[Result "1-0"\]$' "$e2e_dir/record.pgn" || fail "the record's result is not 1-0"

current="a finished game is reviewed with review: the blunder and a better move"
play "BLACK_HUMAN COMMANDS" "$(moves f3 e5 g4 Qh4 '' review)"
check_status 0
check_count "Type review to review the game, or Enter to leave." 1
checks=$((checks + 1))
grep -qE '^White \(.*\): accuracy [0-9.]+%, average centipawn loss [0-9]+, .* 1 blunder$' <<<"$out" ||
    fail "no figures for White"
checks=$((checks + 1))
grep -qE '^  2\. g4\?\? \(#-1\) better 2\. [A-Za-z][a-h1-8x]+ \([-+][0-9.]+\)$' <<<"$out" ||
    fail "no blunder line for 2. g4"
checks=$((checks + 1))
[[ -z $(grep -v Reviewing "$e2e_dir/stderr") ]] || fail "standard error: $(cat "$e2e_dir/stderr")"

current="quitting keeps the game for later"
play "BLACK_HUMAN COMMANDS" "$(moves e2 e4 moves quit)"
check_status 0
check_has "1. e4"
check_tail "The game is kept in $e2e_dir/record.pgn; continue it with RESUME=$e2e_dir/record.pgn.\n"
checks=$((checks + 1))
grep -q '^\[Result "\*"\]$' "$e2e_dir/record.pgn" || fail "the record is not left unfinished"

current="the hint names the piece a pawn becomes"
play "BLACK_HUMAN COMMANDS" "$(moves hint quit)" "FEN=k7/4P3/8/8/8/8/8/K7 w - - 0 1"
check_has "Hint: e7-e8=Q"

current="a hint while the opening book is live is searched, and the book still answers"
play "COMMANDS DEPTH1=1 DEPTH2=1" "$(moves hint e2 e4 quit)"
check_lacks "No hint"
checks=$((checks + 1))
grep -qE '^Hint: [a-h][1-8]-[a-h][1-8]$' <<<"$out" || fail "no hint line"
check_has "2: Moving c7 to c5 (opening book)"

current="a command typed with blanks around it"
play "BLACK_HUMAN COMMANDS" "$(moves e2 e4 '   moves  ' quit)"
check_has "1. e4"
check_lacks "That tile does not exist."

current="moves after a start whose move number is not 1"
play "BLACK_HUMAN COMMANDS" "$(moves e7 e5 g1 f3 moves quit)" \
    "FEN=rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 12"
check_has "12... e5"
check_has "13. Nf3"

current="whole moves typed in SAN and in coordinates"
# nf3 is the knight's move; e4 alone is the pawn's, as no piece of White's stands there; d5
# chooses Black's pawn there; exd5 is not White's; e5 is a square without a move (the message
# waits for a line).
play "BLACK_HUMAN COMMANDS" "$(moves nf3 d5 ' g2g3 ' Nc6+ e4 d5 e4 exd5 e5 '' quit)"
checks=$((checks + 1))
grep -q '^1\. Nf3 d5 2\. g3 Nc6 3\. e4 dxe4 \*$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep -v '^\[' "$e2e_dir/record.pgn")"
check_has "exd5 is not legal: no pawn of yours can take on d5."
check_count "There is no piece in that tile." 1
check_count "Select where to move." 1

current="an ambiguous move names the moves it could be"
play "BLACK_HUMAN COMMANDS" "$(moves Nd2 Nfd2 quit)" "FEN=4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1"
check_has "Nd2 is ambiguous: Nbd2 or Nfd2."
check_has "The game is kept in $e2e_dir/record.pgn; continue it with RESUME=$e2e_dir/record.pgn."
checks=$((checks + 1))
grep -q '^1\. Nfd2 \*$' "$e2e_dir/record.pgn" || fail "no Nfd2 in the record"

current="an ascension typed with its piece, or asked for; N is the knight"
play "BLACK_HUMAN COMMANDS" "$(moves c8=R h7h6 a7b8 N quit)" \
    "FEN=1n6/P1P4k/8/8/8/8/8/4K3 w - - 0 1"
check_count "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook" 1
checks=$((checks + 1))
grep -q '^1\. c8=R Kh6 2\. axb8=N \*$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep -v '^\[' "$e2e_dir/record.pgn")"

current="without COMMANDS a typed move is a square and N no answer"
play BLACK_HUMAN "$(moves e2e4 e4 Nf3)"
check_count "Select where to move." 1
check_has "That tile does not exist."
check_rank 4 "]   [[   ]]   [[   ]] P [[   ]]   [[   ]"
play BLACK_HUMAN "$(moves a7 a8 N n k)" "FEN=4k3/P7/8/8/8/8/8/4K3 w - - 0 1"
check_count "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook" 3

# The game's random numbers come from the clock: with the clock held still, two games draw
# alike, and a hint in one of them must not change what the computer plays after it.
if command -v faketime >/dev/null; then
    current="a hint leaves the computer's next moves alone"
    held() {
        rm -f "$e2e_dir/held.pgn"
        printf '%b' "$1" | faketime '2026-01-01 12:00:00' timeout 60 "$vartok" COMMANDS \
            DEPTH1=2 DEPTH2=3 PGN="$e2e_dir/held.pgn" 2>/dev/null | grep -E '^[0-9]+: Moving'
    }
    # An empty line where the other game asks for a hint: "CHECK." takes either alike.
    without=$(held "$(moves e2 e4 '' d2 d4 '' g1 f3 '' b1 c3 '' f1 e2 quit)")
    with=$(held "$(moves e2 e4 hint d2 d4 hint g1 f3 hint b1 c3 hint f1 e2 quit)")
    checks=$((checks + 1))
    [[ -n $without && $without == "$with" ]] ||
        fail "the computer played otherwise after hints:"$'\n'"$without"$'\n---\n'"$with"
fi

finish
