# Helpers for the end-to-end tests: run the game with scripted input and check the result.
# Each test script sources this file with the path of the vartok binary as $1.
set -uo pipefail
vartok=$1
failures=0
checks=0
source "$(dirname "${BASH_SOURCE[0]}")/../../support/record_check.sh"
e2e_dir=$(mktemp -d)
trap 'rm -rf "$e2e_dir"' EXIT
# Games that keep their record at the default place keep it here, not in the home folder.
export XDG_STATE_HOME=$e2e_dir/state XDG_DATA_HOME=$e2e_dir/data XDG_CONFIG_HOME=$e2e_dir/config

# play "WORDS" "INPUT": runs the game; leaves its output in $out and exit status in $status.
# Every game is also played with a record, which must read back to the last board shown.
play() {
    local words=$1 input=$2 record=$e2e_dir/record.pgn
    shift 2 # any further arguments are words of their own, blanks and all ("FEN=...")
    rm -f "$record"
    # The marker keeps the output's trailing empty lines, which $(...) would drop.
    out=$(printf '%b' "$input" | timeout 60 "$vartok" $words "$@" PGN="$record" 2>"$e2e_dir/stderr"
          echo "<<exit $?>>")
    status=${out##*<<exit }
    status=${status%>>}
    out=${out%<<exit*}
    # A start refused (status 2) leaves no record.
    [[ $status -eq 2 ]] && return
    checks=$((checks + 1))
    printf '%s' "$out" >"$e2e_dir/out.txt"
    check_record "$record" "$e2e_dir/out.txt" >"$e2e_dir/record-check.txt" ||
        fail "record: $(cat "$e2e_dir/record-check.txt")"
}

fail() {
    echo "FAIL [$current]: $*"
    failures=$((failures + 1))
}

check_status() {
    checks=$((checks + 1))
    [[ $status -eq $1 ]] ||
        fail "exit status $status, expected $1; standard error: $(cat "$e2e_dir/stderr" 2>/dev/null)"
}

check_has() {
    checks=$((checks + 1))
    grep -qxF -- "$1" < <(printf '%s' "$out") || fail "no line '$1'"
}

check_lacks() {
    checks=$((checks + 1))
    ! grep -qF -- "$1" < <(printf '%s' "$out") || fail "unexpected '$1'"
}

# check_count TEXT N: the whole line TEXT appears exactly N times.
check_count() {
    checks=$((checks + 1))
    local n
    n=$(grep -cxF -- "$1" < <(printf '%s' "$out"))
    [[ $n -eq $2 ]] || fail "'$1' appears $n times, expected $2"
}

# check_tail 'TEXT': the output ends with these whole lines (printf escapes allowed).
check_tail() {
    checks=$((checks + 1))
    local expected
    expected=$(printf '%b' "$1"; echo .)
    expected=${expected%.}
    [[ "$out" == *$'\n'"$expected" ]] ||
        fail "output ends with:"$'\n'"$(printf '%s' "$out" | tail -n 4)"
}

# The rank line of the last board printed, e.g. last_rank_line 1.
last_rank_line() {
    grep -E "^$1 " < <(printf '%s' "$out") | tail -n 1
}

check_rank() {
    checks=$((checks + 1))
    local line
    line=$(last_rank_line "$1")
    [[ "$line" == "$1 $2" ]] || fail "rank $1 is '$line', expected '$1 $2'"
}

finish() {
    echo "$checks checks, $failures failed"
    [[ $failures -eq 0 ]]
}

# Moves as "e2 e4 e7 e5 ..." turned into one line per square.
moves() {
    local s
    for s in "$@"; do printf '%s\\n' "$s"; done
}
