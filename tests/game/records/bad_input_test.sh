#!/usr/bin/env bash
# Records and positions the game cannot use: one line on standard error naming the file (and
# the move), exit status 2, nothing on standard output, and the file left byte for byte as it
# was. A record that cannot be written: one warning, and the game plays on as without it.
set -uo pipefail
vartok=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export XDG_STATE_HOME=$dir/state XDG_DATA_HOME=$dir/data XDG_CONFIG_HOME=$dir/config
failures=0
checks=0

fail() {
    echo "FAIL [$current]: $*"
    failures=$((failures + 1))
}

# refused "WORDS" "TEXT ON STANDARD ERROR" [FILE]: the game refuses to start.
refused() {
    local words=$1 expected=$2 file=${3:-} before=""
    checks=$((checks + 1))
    [[ -n $file && -f $file ]] && before=$(sha256sum <"$file")
    out=$(printf 'e2\ne4\n' | timeout 30 "$vartok" $words 2>"$dir/err")
    status=$?
    err=$(cat "$dir/err")
    [[ $status -eq 2 ]] || fail "exit status $status, expected 2"
    [[ -z $out ]] || fail "printed on standard output: $(head -c 200 <<<"$out")"
    [[ $(wc -l <"$dir/err") -eq 1 ]] || fail "standard error has not one line: $err"
    [[ $err == *"$expected"* ]] || fail "standard error '$err' lacks '$expected'"
    [[ -z $before || $(sha256sum <"$file") == "$before" ]] || fail "$file was changed"
}

record() { # record NAME MOVETEXT [TAGS]: a PGN file
    printf '%b[Event "t"]\n\n%s\n' "${3:-}" "$2" >"$dir/$1"
}

current="missing file"
refused "RESUME=$dir/none.pgn" "$dir/none.pgn: no such file"
current="nothing unfinished at the default place"
refused "RESUME" "no unfinished game to resume"
current="a folder instead of a file"
mkdir "$dir/folder.pgn"
refused "RESUME=$dir/folder.pgn" "$dir/folder.pgn"
current="text that is not PGN"
printf '[Event "unclosed\n1. e4 *\n' >"$dir/broken.pgn"
refused "RESUME=$dir/broken.pgn" "$dir/broken.pgn: line 1" "$dir/broken.pgn"
current="an illegal move"
record illegal.pgn '1. e4 e5 2. Nf3 Nc6 3. Ke3 *'
refused "RESUME=$dir/illegal.pgn" "$dir/illegal.pgn: move 3 (Ke3): illegal move" "$dir/illegal.pgn"
current="an ambiguous move"
record ambiguous.pgn '1. Nf3 e5 2. Nc3 d5 3. Nb5 a6 4. Nd4 *'
refused "RESUME=$dir/ambiguous.pgn" "move 4 (Nd4): ambiguous move" "$dir/ambiguous.pgn"
current="a bad FEN tag"
record badfen.pgn '*' '[SetUp "1"]\n[FEN "8/8/8/8 w - - 0 1"]\n'
refused "RESUME=$dir/badfen.pgn" "$dir/badfen.pgn" "$dir/badfen.pgn"
current="a record starting where the side not to move is in check"
record check.pgn '1. Kd1 *' '[SetUp "1"]\n[FEN "4k3/8/8/8/8/8/8/K3R3 w - - 0 1"]\n'
refused "RESUME=$dir/check.pgn" "side not to move is in check" "$dir/check.pgn"
current="PGN= on what is not a PGN database: a folder, a device, a text file"
refused "PGN=$dir/folder.pgn" "$dir/folder.pgn: not a regular file"
refused "PGN=/dev/zero" "/dev/zero: not a regular file"
printf 'my notes\n' >"$dir/notes.txt"
refused "BLACK_HUMAN PGN=$dir/notes.txt" "$dir/notes.txt is not a PGN database" "$dir/notes.txt"
current="FEN: broken text, two kings, the side not to move in check"
refused "FEN=rnbqkbnr/pppppppp/8/8" "FEN=rnbqkbnr/pppppppp/8/8"
refused "FEN=4k3/8/8/8/8/8/8/3KK3_w_-_-_0_1" "FEN="
refused "FEN=4k3/8/8/8/8/8/8/K3R3" "FEN="

current="a record that cannot be written"
touch "$dir/plain"
expected=$(printf 'e2\ne4\n' | "$vartok" BLACK_HUMAN 2>/dev/null; echo "status $?")
for place in "$dir/plain/game.pgn"; do
    checks=$((checks + 1))
    got=$(printf 'e2\ne4\n' | "$vartok" BLACK_HUMAN PGN="$place" 2>"$dir/err"; echo "status $?")
    [[ $got == "$expected" ]] || fail "the game played differently with PGN=$place"
    [[ $(grep -c "cannot keep the game record" "$dir/err") -eq 1 ]] ||
        fail "not one warning: $(cat "$dir/err")"
    [[ -f $dir/plain ]] || fail "a file in the way was replaced"
done

echo "$checks checks, $failures failed"
[[ $failures -eq 0 ]]
