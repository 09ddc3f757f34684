#!/usr/bin/env bash
# The strong player in the game: it mates from basic endgames within 100 half-moves, is
# announced with the game's line and one of its own, names itself in the record, gives the
# hint when it plays, and a resumed game keeps it.
source "$(dirname "$0")/e2e_lib.sh" "$1"

# computer_game FEN: the strong player on both sides from FEN at 100 ms a move, every
# "CHECK." acknowledged.
yes '' | head -n 400 >"$e2e_dir/acknowledgements"
computer_game() {
    out=$(timeout 100 "$vartok" WHITE_AI PLAYER=strong MOVETIME=100 "FEN=$1" \
          PGN="$e2e_dir/record.pgn" <"$e2e_dir/acknowledgements" 2>/dev/null)
    status=$?
}

for fen in "4k3/8/8/8/8/8/8/2Q1K2R w - - 0 1" "7k/5Q2/6K1/8/8/8/8/8 w - - 0 1" \
           "8/8/3k4/8/8/8/8/R3K3 w - - 0 1" "8/8/8/3k4/8/8/8/Q3K3 w - - 0 1"; do
    current="White mates from $fen"
    computer_game "$fen"
    check_status 0
    check_has "Checkmate. White won."
    checks=$((checks + 1))
    n=$(grep -c ': Moving' <<<"$out")
    ((n <= 100)) || fail "$n half-moves"
done

current="a mate in one is played at once"
computer_game "7k/5Q2/6K1/8/8/8/8/8 w - - 0 1"
checks=$((checks + 1))
grep -qE '^depth [0-9]+, mate in 1, [0-9]+ positions, [0-9.]+ s, line: Q[a-h][1-8]#$' <<<"$out" ||
    fail "report: $(grep '^depth' <<<"$out")"

current="the record names the strong player, and RESUME keeps it"
play "PLAYER=strong MOVETIME=50 COMMANDS" "$(moves e2 e4 quit)"
checks=$((checks + 1))
grep -q '^\[Black "Vartok strong (50 ms a move)"\]$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep '^\[Black ' "$e2e_dir/record.pgn")"
cp "$e2e_dir/record.pgn" "$e2e_dir/kept.pgn"
out=$(printf 'd2\nd4\nquit\n' | timeout 30 "$vartok" RESUME="$e2e_dir/kept.pgn" COMMANDS \
      PGN="$e2e_dir/resumed.pgn" 2>/dev/null)
checks=$((checks + 1))
grep -qE '^depth [0-9]+, ' <<<"$out" || fail "the resumed game's computer is not the strong one"
# On a clock no move time is used, and the name says none.
play "ELO=1500 CLOCK=1 COMMANDS" "$(moves e2 e4 quit)"
checks=$((checks + 1))
grep -q '^\[Black "Vartok strong at Elo 1500"\]$' "$e2e_dir/record.pgn" ||
    fail "record: $(grep '^\[Black ' "$e2e_dir/record.pgn")"

current="the hint comes from the strong player when it plays"
play "BLACK_HUMAN PLAYER=strong MOVETIME=50 COMMANDS" "$(moves hint quit)" \
    "FEN=6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"
check_has "Hint: a1-a8"

current="ELO= with a seed plays the same game twice, and names itself in the record"
seeded_moves() {
    printf 'e2\ne4\nd2\nd4\ng1\nf3\nb1\nc3\nquit\n' |
        timeout 60 "$vartok" ELO=1000 SEED=42 MOVETIME=50 COMMANDS PGN="$e2e_dir/$1.pgn" 2>/dev/null |
        grep ': Moving'
}
first=$(seeded_moves one)
second=$(seeded_moves two)
checks=$((checks + 2))
[[ -n $first && $first == "$second" ]] || fail "the games differ:"$'\n'"$first"$'\n---\n'"$second"
grep -q '^\[Black "Vartok strong at Elo 1000 (50 ms a move)"\]$' "$e2e_dir/one.pgn" ||
    fail "record: $(grep '^\[Black ' "$e2e_dir/one.pgn")"

current="the hint is the strong player's best at any Elo"
play "BLACK_HUMAN ELO=800 MOVETIME=50 COMMANDS" "$(moves hint quit)" \
    "FEN=6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"
check_has "Hint: a1-a8"

current="bad words are refused before the game starts"
for word in PLAYER=strongest MOVETIME=0 MOVETIME=abc ELO=abc ELO=5 ELO=99999 SEED=x; do
    out=$(printf '' | "$vartok" "$word" 2>&1 >/dev/null)
    status=$?
    checks=$((checks + 1))
    [[ $status -eq 2 && $out == "vartok: $word: "* ]] || fail "$word: status $status, '$out'"
done
finish
