#!/usr/bin/env bash
# Games on clocks and under the standard draw rules, through the real binary: the flag falls
# in the middle of a prompt, the increment comes after each move, a side that cannot mate
# draws, records carry the clocks, RESUME takes them back, and FIDE's repetitions.
source "$(dirname "$0")/e2e_lib.sh" "$1"
dance='g1 f3 g8 f6 f3 g1 f6 g8'

# silent WORDS INPUT [WORD]: as play, but the person stays at the keyboard, silent, for 6 s
# after typing INPUT (a closed input would end the game first).
silent() {
    local words=$1 input=$2
    shift 2
    out=$({ printf '%b' "$input"; sleep 6; } | timeout 60 "$vartok" $words "$@" \
          PGN="$e2e_dir/record.pgn" 2>/dev/null
          echo "<<exit $?>>")
    status=${out##*<<exit }
    status=${status%>>}
    out=${out%<<exit*}
}

# A person who types nothing (or half a move) loses on time at the prompt.
current="the flag falls while the person is silent"
silent "BLACK_HUMAN CLOCK=0.05" ""
check_status 0
check_tail "White's time is up. Black won.\n"
check_has "White 0:03.0 | Black 0:03.0"
checks=$((checks + 1))
grep -q '^\[Result "0-1"\]$' "$e2e_dir/record.pgn" && grep -q '^\[TimeControl "3"\]$' "$e2e_dir/record.pgn" &&
    grep -q '^\[Termination "time forfeit"\]$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep -E 'Result|TimeControl|Termination' "$e2e_dir/record.pgn")"

current="the flag falls between the piece and its destination"
silent "BLACK_HUMAN CLOCK=0.05" "$(moves e2)"
check_status 0
check_tail "Select where to move.\nWhite's time is up. Black won.\n"

current="a side that cannot mate does not win on time"
silent "BLACK_HUMAN CLOCK=0.05" "" "FEN=4k3/8/8/8/8/8/8/4K1n1 w - - 0 1"
check_status 0
check_tail "White's time is up. Draw: Black cannot mate.\n"

current="the increment comes after each move, and the record keeps every clock"
play "BLACK_HUMAN CLOCK=0.05+2 COMMANDS" "$(moves e2 e4 e7 e5 quit)"
checks=$((checks + 1))
clocks=$(grep -o '%clk [0-9:.]*' "$e2e_dir/record.pgn" | tr '\n' ' ')
# 3 s, a move in well under a second, 2 s more: between 4 and 5 s after each move.
[[ $clocks =~ ^%clk\ 0:00:0[45]\.[0-9]\ %clk\ 0:00:0[45]\.[0-9]\ $ ]] || fail "clocks: $clocks"
checks=$((checks + 1))
"$pgn_extract" -s "$e2e_dir/record.pgn" >/dev/null 2>&1 || fail "pgn-extract refuses the record"

current="the computer out of time plays its first pass's move"
# Depth 6 without dead ends takes far longer than the computer's share of a 6 s clock.
play "CLOCK=0.1 DEPTH1=1 DEPTH2=6 DEADEND=100000" "" \
    "FEN=r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 3 3"
checks=$((checks + 1))
moving=$(grep -E '^6: Moving ' <<<"$out")
grep -qxE '6: Moving .. to .. \(one pass: out of time\)' <<<"$moving" && [[ $(wc -l <<<"$moving") -eq 1 ]] ||
    fail "the computer's move lines: $(tr '\n' ' ' <<<"$moving")"

# resumed_clocks PATTERN [TAG...] MOVES: a two-person record on a 60 s clock, with the extra
# tag lines and the move text, resumed; the clocks' line shown must match PATTERN.
resumed_clocks() {
    local pattern=$1
    shift
    { printf '%s\n' '[Event "Vartok game"]' '[White "Person"]' '[Black "Person"]' \
          '[Result "*"]' '[WhiteType "human"]' '[BlackType "human"]' '[TimeControl "60"]' \
          "${@:1:$#-1}"
      printf '\n%s *\n' "${!#}"; } >"$e2e_dir/kept.pgn"
    out=$(printf 'quit\n' | timeout 30 "$vartok" RESUME="$e2e_dir/kept.pgn" COMMANDS \
          PGN="$e2e_dir/resumed.pgn" 2>/dev/null)
    checks=$((checks + 1))
    grep -qE "^$pattern\$" <<<"$out" || fail "clocks: $(grep '^White' <<<"$out")"
}

current="RESUME goes on with the clocks of the record"
resumed_clocks 'White 0:4[12] \| Black 0:37' '1. e4 {[%clk 0:00:42.5]} e5 {[%clk 0:00:37.0]}'

current="RESUME of a record whose first move is Black's gives each side its own clock"
resumed_clocks 'White 0:42 \| Black 0:3[67]' '[SetUp "1"]' \
    '[FEN "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"]' \
    '1... e5 {[%clk 0:00:37.5]} 2. Nf3 {[%clk 0:00:42.0]}'

current="FIDE: the knights' dance twice, then a claim"
play "BLACK_HUMAN FIDE" "$(moves $dance $dance draw)"
check_status 0
check_tail "Draw.\n"
checks=$((checks + 1))
grep -q '^\[Result "1/2-1/2"\]$' "$e2e_dir/record.pgn" || fail "the record is not drawn"

current="without FIDE the same claim is refused"
play "BLACK_HUMAN" "$(moves $dance $dance draw)"
check_has "Only 8 moves since pawn moved or piece captured."

current="FIDE: four dances end the game by themselves"
play "BLACK_HUMAN FIDE" "$(moves $dance $dance $dance $dance '')"
check_status 0
check_tail "Draw: Fifth repetition.\n"

current="FIDE: a move taken back leaves the repetitions counted before it"
play "BLACK_HUMAN FIDE COMMANDS" "$(moves $dance e2 e4 undo $dance draw)"
check_status 0
check_tail "Draw.\nType review to review the game, or Enter to leave.\n"

current="FIDE: the castling right tells the start apart"
# Rooks out and back: the position looks the same, but the castling rights are gone.
play "BLACK_HUMAN FIDE" "$(moves g1 f3 g8 f6 h1 g1 h8 g8 g1 h1 g8 h8 f3 g1 f6 g8 \
    g1 f3 g8 f6 f3 g1 f6 g8 draw)"
check_has "No draw can be claimed now."

current="FIDE: the 75-move rule ends the game, never at random"
play "BLACK_HUMAN FIDE" "$(moves e1 e2 '')" "FEN=4k3/8/8/8/8/8/8/R3K3 w - - 149 90"
check_status 0
check_tail "Draw: 75 moves without pawn move or capture.\n"

finish
