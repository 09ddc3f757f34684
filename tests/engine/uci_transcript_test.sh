#!/usr/bin/env bash
# The engine through its protocol: the handshake and options, positions with castling, en
# passant and promotion, a search stopped while it runs (and answering isready meanwhile),
# go infinite, a move under a short clock, and bad lines. Moves are checked against
# stockfish's list of legal moves and the analysis tool's choices.
set -uo pipefail
engine=$1
analyse=$2
stockfish=${3:-/usr/games/stockfish}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/uci_session.sh"
[[ -x $stockfish ]] || { echo "stockfish not found: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    [[ -n ${seen:-} ]] && printf '  last lines read:\n%s' "$(tail -n 8 <<<"$seen" | sed 's/^/    /')"
    echo
    failures=$((failures + 1))
}

# A go whose answer must be legal there and equal the analysis tool's move for the FEN.
check_go() {
    local what=$1 position=$2 fen=$3
    shift 3
    send "position $position"
    send "go"
    expect_bestmove 60 || { fail "$what: no bestmove"; return; }
    grep -q '^info string position:' <<<"$seen" && fail "$what: the position was refused"
    legal_by_stockfish "$stockfish" "$position" "$bestmove" || fail "$what: $bestmove is illegal"
    local expected
    expected=$(analyse_move "$analyse" "$@" "$fen")
    [[ $bestmove == "$expected" ]] || fail "$what: bestmove $bestmove, the analysis tool $expected"
}

start_engine "$engine"

# --- Handshake and options ---
send uci
expect '^uciok$' 10 || fail "no uciok"
handshake=$seen
for wanted in '^id name Vartok [0-9.]+$' '^id author .+' \
    '^option name Depth1 type spin default 3 min 0 max 255$' \
    '^option name Depth2 type spin default 6 min 0 max 255$' \
    '^option name Blunders type spin default 0 min 0 max 255$' \
    '^option name Deadend type spin default 1988 min -?[0-9]+ max [0-9]+$' \
    '^option name Limit type spin default 548 min -?[0-9]+ max [0-9]+$' \
    "^option name Threads type spin default $(nproc) min 1 max $(nproc)$" \
    '^option name OwnBook type check default true$' \
    '^option name Seed type spin default 1 min 0 max [0-9]+$' \
    '^option name Level type spin default 0 min 0 max 8$'; do
    grep -Eq "$wanted" <<<"$handshake" || fail "handshake lacks /$wanted/"
done
send isready
expect '^readyok$' 10 || fail "no readyok"

# --- The book and the options that change the choice ---
send "position startpos moves e2e4"
send go
expect_bestmove || fail "no bestmove from the book"
[[ ${bestmove:-} == c7c5 ]] || fail "the book answered e2e4 with ${bestmove:-nothing}"
send "setoption name ownbook value false" # option names are not case-sensitive
send "position startpos moves e2e4"
send go
expect_bestmove || fail "no bestmove without the book"
grep -q '^info string depth 3: Analyzed' <<<"$seen" || fail "OwnBook false did not search"
send "setoption name OwnBook value true"

# --- Positions with castling, en passant and promotion, replayed and searched ---
check_go "castled on both sides" \
    "startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f8c5 d2d3 e8g8" \
    "r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQ1RK1 w - - 1 6"
check_go "queenside castling" \
    "startpos moves d2d4 g8f6 c1f4 d7d5 b1c3 c8f5 d1d2 e7e6 e1c1" \
    "rn1qkb1r/ppp2ppp/4pn2/3p1b2/3P1B2/2N5/PPPQPPPP/2KR1BNR b kq - 1 5"
check_go "en passant possible" "startpos moves e2e4 a7a6 e4e5 d7d5" \
    "rnbqkbnr/1pp1pppp/p7/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3"
check_go "after en passant" "startpos moves e2e4 a7a6 e4e5 d7d5 e5d6 c7d6" \
    "rnbqkbnr/1p2pppp/p2p4/8/8/8/PPPP1PPP/RNBQKBNR w KQkq - 0 4"
check_go "after promotions" "fen 4k3/1P6/8/8/8/8/6p1/4K2R w K - 0 40 moves b7b8n g2h1q" \
    "1N2k3/8/8/8/8/8/8/4K2q w - - 0 41"
check_go "a pawn to promote" "fen 8/P7/8/8/8/8/8/k6K w - - 0 60" "8/P7/8/8/8/8/8/k6K w - - 0 60"
[[ ${bestmove:-} =~ ^a7a8[qrbn]$ ]] || fail "the promotion was played as ${bestmove:-nothing}"

# --- go depth sets the second pass; the same seed chooses alike ---
middle="r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"
send "position fen $middle"
send "go depth 4"
expect_bestmove || fail "no bestmove for go depth 4"
grep -q '^info depth 4 ' <<<"$seen" || fail "go depth 4 made no pass at depth 4"
expected=$(analyse_move "$analyse" --depth2 4 "$middle")
[[ ${bestmove:-} == "$expected" ]] || fail "go depth 4: $bestmove, the analysis tool $expected"
send "setoption name Blunders value 3"
send "setoption name Seed value 7"
for run in 1 2; do
    send "position fen $middle"
    send go
    expect_bestmove || fail "no bestmove with blunders"
    moves[run]=$bestmove
done
[[ ${moves[1]} == "${moves[2]}" ]] || fail "the same seed chose ${moves[1]} and ${moves[2]}"
expected=$(analyse_move "$analyse" --blunders 3 --seed 7 "$middle")
[[ ${moves[1]} == "$expected" ]] || fail "seed 7: ${moves[1]}, the analysis tool $expected"
send "setoption name Blunders value 0"
send "setoption name Seed value 1"

# --- Level sets the five search options as the game's LEVEL does; later options win ---
send "setoption name Level value 4"
check_go "level 4" "fen $middle" "$middle" --depth1 2 --depth2 2 --blunders 100
send "setoption name Level value 8"
send "setoption name Depth2 value 3"
check_go "level 8, then Depth2 3" "fen $middle" "$middle" --depth1 2 --depth2 3
for option in "Depth1 3" "Depth2 6" "Level 0"; do
    send "setoption name ${option% *} value ${option#* }"
done

# --- An en-passant square no double step can have crossed is ignored ---
own_knight="4k3/8/4N3/3Pp3/8/8/8/4K3 w - e6 0 1"
send "position fen $own_knight"
send go
expect_bestmove || fail "no bestmove with an impossible en-passant square"
grep -q '^info string position: the en-passant square e6 is ignored: e6 is not empty$' <<<"$seen" ||
    fail "the ignored en-passant square was not named"
legal_by_stockfish "$stockfish" "fen $own_knight" "${bestmove:-none}" ||
    fail "with an impossible en-passant square the engine played $bestmove"

# --- A side without a legal move answers 0000 ---
send "position fen k7/1Q6/1K6/8/8/8/8/8 b - - 0 80"
send go
expect_bestmove || fail "no bestmove when mated"
[[ ${bestmove:-} == 0000 ]] || fail "the mated side played $bestmove"
grep -q '^info depth 0 score mate 0$' <<<"$seen" || fail "the mate was not scored mate 0"
send "position fen k7/2Q5/1K6/8/8/8/8/8 b - - 0 80"
send go
expect_bestmove || fail "no bestmove when stalemated"
[[ ${bestmove:-} == 0000 ]] || fail "the stalemated side played $bestmove"

# --- A mate found is scored as a mate ---
send "position fen r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4"
send go
expect_bestmove || fail "no bestmove for the scholar's mate"
[[ ${bestmove:-} == h5f7 ]] || fail "the scholar's mate was missed: $bestmove"
grep -q '^info depth 3 .* score mate 1 pv h5f7$' <<<"$seen" || fail "the mate in one was not scored mate 1"
# A quiet mate in one: the move earns nothing beside the mate.
send "position fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"
send go
expect_bestmove || fail "no bestmove for the back-rank mate"
[[ ${bestmove:-} == a1a8 ]] || fail "the back-rank mate was missed: $bestmove"
grep -q '^info depth 3 .* score mate 1 pv a1a8$' <<<"$seen" || fail "the back-rank mate was not scored mate 1"

# --- A long search: isready is answered meanwhile, stop answers at once ---
long="r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3" # over a minute
send "setoption name Deadend value 20000"
send "setoption name Depth1 value 2"
send "position fen $long"
send go
sleep 0.5
send isready
expect '^(readyok|bestmove .*)$' 10 || fail "no readyok during the search"
[[ ${line:-} == readyok ]] || fail "the long search ended before isready: $line"
send stop
started=$SECONDS
expect_bestmove 10 || fail "no bestmove within 10 s of stop"
((SECONDS - started <= 5)) || fail "stop took $((SECONDS - started)) s"
legal_by_stockfish "$stockfish" "fen $long" "${bestmove:-none}" || fail "the stopped search played $bestmove"

# --- Under a short clock the one-pass move at Depth1 is played ---
send "position fen $long"
send "go movetime 300"
expect_bestmove 10 || fail "no bestmove under movetime 300"
grep -q '^info string out of time: the one-pass move at depth 2$' <<<"$seen" ||
    fail "movetime 300 did not fall back to one pass"
expected=$(analyse_move "$analyse" --depth1 2 --depth2 2 --deadend 20000 "$long")
[[ ${bestmove:-} == "$expected" ]] || fail "out of time: $bestmove, one pass at depth 2 $expected"
# With time enough, the full search's move.
send "position fen $middle"
send "go wtime 600000 btime 600000"
expect_bestmove 60 || fail "no bestmove on a long clock"
expected=$(analyse_move "$analyse" --depth1 2 --deadend 20000 "$middle")
[[ ${bestmove:-} == "$expected" ]] || fail "long clock: $bestmove, the analysis tool $expected"

# --- go infinite answers only after stop ---
send "setoption name Deadend value 1988"
send "setoption name Depth1 value 3"
send "position fen $middle"
send "go infinite"
expect '^bestmove ' 2 && fail "go infinite answered without stop"
grep -Eq '^info string [0-9]+: Moving ' <<<"$seen" || fail "the infinite search did not end"
send isready
expect '^readyok$' 5 || fail "no readyok while go infinite waits"
send stop
expect_bestmove 5 || fail "no bestmove after stopping go infinite"
expected=$(analyse_move "$analyse" "$middle")
[[ ${bestmove:-} == "$expected" ]] || fail "go infinite: $bestmove, the analysis tool $expected"

# --- Bad lines: an info string names each problem, and the engine goes on ---
bad_lines=(
    "fly me to the moon|unknown command 'fly'"
    "setoption name Depth1 value 300|Depth1 takes a whole number from 0 to 255"
    "setoption name Depth1 value three|Depth1 takes a whole number"
    "setoption name Contempt value 16|no option named 'Contempt'"
    "setoption name Hash value 0|Hash takes a whole number from 1 to 65536"
    "setoption name Player value fancy|Player takes classic or strong"
    "setoption name OwnBook value yes|OwnBook takes true or false"
    "setoption Depth1 3|expected 'setoption name"
    "position|expected startpos or fen"
    "position fen 8/8/8 w|bad FEN"
    "position fen 4k3/8/8/8/8/8/4R3/4K3 w - - 0 1|the side not to move is in check"
    "position fen 4k3/8/4N3/3Pp3/8/8/8/4K3 w - e6 0 1|the en-passant square e6 is ignored: e6 is not empty"
    "position startpos moves e2e4 e7e5 e1e8 d2d4|move 3 e1e8: not a legal move"
    "go fly|go: unknown word 'fly'"
)
for entry in "${bad_lines[@]}"; do
    text=${entry%%|*}
    named=${entry#*|}
    send "$text"
    send isready
    expect '^readyok$' 30 || { fail "no readyok after '$text'"; continue; }
    grep -qF "info string" <<<"$seen" && grep -qF -- "$named" <<<"$seen" ||
        fail "'$text' was not answered with an info string naming: $named"
done
# The replay stopped before e1e8, and "go fly" still searched there: one bestmove, legal.
if grep -q '^bestmove ' <<<"$seen"; then
    bestmove=$(sed -n 's/^bestmove \([^ ]*\).*/\1/p' <<<"$seen")
else
    expect_bestmove 60 || fail "go fly gave no bestmove"
fi
legal_by_stockfish "$stockfish" "startpos moves e2e4 e7e5" "${bestmove:-none}" ||
    fail "after the stopped replay the engine played $bestmove"
# The Depth1 refused above is unchanged.
send "position fen $middle"
send go
expect_bestmove || fail "no bestmove after the bad lines"
grep -q '^info string depth 3: Analyzed' <<<"$seen" || fail "a refused setoption changed Depth1"

# --- quit during a long search ends at once with status 0 ---
send "setoption name Deadend value 20000"
send "setoption name Depth1 value 2"
send "position fen $long"
send go
sleep 0.3
started=$SECONDS
stop_engine
status=$?
((status == 0)) || fail "quit during a search ended with status $status"
((SECONDS - started <= 5)) || fail "quit took $((SECONDS - started)) s"
[[ -s $session_errors ]] && fail "the engine wrote to standard error: $(head -3 "$session_errors")"
rm -f "$session_errors"

echo "$failures failures"
((failures == 0))
