#!/usr/bin/env bash
# A real client: Debian's polyglot runs the engine for an xboard-protocol session (xboard,
# protover 2, new, level, usermove ...) that plays a whole game, the scripted side's moves
# coming from stockfish. Every reply must be a move, and pgn-extract must accept the whole
# game: then every move was legal.
set -uo pipefail
shopt -s extglob
engine=$1
stockfish=${2:-/usr/games/stockfish}
pgn_extract=${3:-/usr/games/pgn-extract}
polyglot=${4:-/usr/games/polyglot}
max_plies=${5:-160}
for tool in "$stockfish" "$pgn_extract" "$polyglot"; do
    [[ -x $tool ]] || { echo "$tool not found: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
done
dir=$(mktemp -d)
trap 'kill "${stockfish_pid:-}" "${POLYGLOT_PID:-}" 2>/dev/null; rm -rf "$dir"' EXIT

cat >"$dir/vartok.ini" <<INI
[PolyGlot]
EngineName = Vartok
EngineCommand = $engine
EngineDir = $dir
Log = false
Resign = false
[Engine]
INI

# The scripted side: stockfish at its weakest, through a pair of pipes.
mkfifo "$dir/to_stockfish" "$dir/from_stockfish"
"$stockfish" <"$dir/to_stockfish" >"$dir/from_stockfish" &
stockfish_pid=$!
exec {to_stockfish}>"$dir/to_stockfish" {from_stockfish}<"$dir/from_stockfish"
printf 'uci\nsetoption name Skill Level value 0\nisready\n' >&"$to_stockfish"
stockfish_move() {
    local line
    printf 'position startpos moves%s\ngo movetime 20\n' "$1" >&"$to_stockfish"
    while IFS= read -r -t 30 -u "$from_stockfish" line; do
        if [[ $line == bestmove* ]]; then
            line=${line#bestmove }
            echo "${line%% *}"
            return 0
        fi
    done
    return 1
}
# Is the scripted side in check? (stockfish's "d" names the checking pieces' squares.)
stockfish_in_check() {
    local line
    printf 'position startpos moves%s\nd\n' "$1" >&"$to_stockfish"
    while IFS= read -r -t 30 -u "$from_stockfish" line; do
        if [[ $line == Checkers:* ]]; then
            [[ -n ${line#Checkers:*( )} ]]
            return
        fi
    done
    return 1
}

cd "$dir" || exit 1
coproc POLYGLOT { "$polyglot" "$dir/vartok.ini" 2>&1; }
xboard() { printf '%s\n' "$*" >&"${POLYGLOT[1]}"; }
xboard xboard
xboard "protover 2"
xboard new
xboard "level 40 5 0"

moves=""
plies=0
ending="move cap"
result="*"
failed=""
while ((plies < max_plies)); do
    mine=$(stockfish_move "$moves") || { failed="stockfish gave no move"; break; }
    if [[ $mine == "(none)" ]]; then
        if stockfish_in_check "$moves"; then
            ending="Vartok mates"
            result="0-1"
        else
            ending="stalemate"
            result="1/2-1/2"
        fi
        break
    fi
    xboard "time 30000"
    xboard "otim 30000"
    xboard "usermove $mine"
    moves+=" $mine"
    plies=$((plies + 1))
    reply=""
    while IFS= read -r -t 120 -u "${POLYGLOT[0]}" line; do
        if [[ $line =~ ^move\ ([a-h][1-8][a-h][1-8][qrbn]?)$ ]]; then
            reply=${BASH_REMATCH[1]}
            break
        fi
        if [[ $line =~ ^(1-0|0-1|1/2-1/2)\  ]]; then
            ending="polyglot: $line"
            result=${BASH_REMATCH[1]}
            break 2
        fi
        if [[ $line =~ ^(Illegal|Error) ]]; then
            failed="polyglot said: $line"
            break 2
        fi
    done
    [[ -n $reply ]] || { failed="no reply to $mine after: $moves"; break; }
    moves+=" $reply"
    plies=$((plies + 1))
done
xboard quit
wait "$POLYGLOT_PID"
status=$?
printf 'quit\n' >&"$to_stockfish"
wait "$stockfish_pid"

{
    printf '[Event "polyglot test"]\n[Site "?"]\n[Date "????.??.??"]\n[Round "1"]\n'
    printf '[White "stockfish"]\n[Black "Vartok"]\n[Result "%s"]\n\n' "$result"
    n=0
    for m in $moves; do
        ((n % 2 == 0)) && printf '%d. ' $((n / 2 + 1))
        printf '%s ' "$m"
        n=$((n + 1))
    done
    printf '%s\n' "$result"
} >"$dir/game.pgn"
"$pgn_extract" -o "$dir/checked.pgn" "$dir/game.pgn" 2>"$dir/check.txt"

echo "$plies half-moves, ended by: $ending"
[[ -z $failed ]] || { echo "FAIL: $failed"; exit 1; }
((status == 0)) || { echo "FAIL: polyglot ended with status $status"; exit 1; }
if grep -qi 'failed\|illegal\|inconsistent\|warning' "$dir/check.txt" ||
    ! grep -q '^1 game matched out of 1\.$' "$dir/check.txt"; then
    echo "FAIL: pgn-extract refused the game:"
    cat "$dir/check.txt" "$dir/game.pgn"
    exit 1
fi
((plies >= 20)) || { echo "FAIL: the game ended after $plies half-moves"; cat "$dir/game.pgn"; exit 1; }
echo "pgn-extract accepted every move"
