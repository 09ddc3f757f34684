#!/usr/bin/env bash
# Misspelled words named on standard error, and the words file read before the command line.
source "$(dirname "$0")/e2e_lib.sh" "$1"

words_file=$XDG_CONFIG_HOME/vartok/words
mkdir -p "$(dirname "$words_file")"

# run INPUT WORDS...: the game on INPUT; sets $out, $err and $status. Without a PGN= word the
# record goes to the scratch default place.
run() {
    local input=$1
    shift
    out=$(printf '%b' "$input" | timeout 60 "$vartok" "$@" 2>"$e2e_dir/err"
          echo "<<exit $?>>")
    status=${out##*<<exit }
    status=${status%>>}
    out=${out%<<exit*}
    err=$(cat "$e2e_dir/err")
}
err_is() {
    checks=$((checks + 1))
    [[ $err == "$1" ]] || fail "standard error is '$err', expected '$1'"
}
# The VartokSettings tag of a record.
settings_of() {
    sed -n 's/^\[VartokSettings "\(.*\)"\]$/\1/p' "$1" | tail -n 1 # PGN= adds games
}
check_settings() { # RECORD EXPECTED
    checks=$((checks + 1))
    local got
    got=$(settings_of "$1")
    [[ $got == "$2" ]] || fail "settings '$got', expected '$2'"
}
defaults="DEPTH1=3 DEPTH2=6 BLUNDERS=0 DEADEND=1988 LIMIT=548"

current="misspelled words are named on standard error; standard output stays the same"
run "$(moves e2 e4 quit)" BLACK_HUMAN COMMANDS PGN="$e2e_dir/a.pgn"
plain=$out
err_is ""
run "$(moves e2 e4 quit)" LEVLE=1 BLACK_HUMAN unicode COMMANDS --hlp PGN="$e2e_dir/a.pgn"
checks=$((checks + 1))
[[ $out == "$plain" ]] || fail "standard output changed"
err_is "vartok: unknown word 'LEVLE=1' ignored
vartok: unknown word 'unicode' ignored
vartok: unknown word '--hlp' ignored"

current="a huge or unprintable word is shown cut and escaped"
run "quit\n" COMMANDS "$(printf 'X%.0s' {1..5000})" $'\x01\xc3' PGN="$e2e_dir/a.pgn"
err_is "vartok: unknown word '$(printf 'X%.0s' {1..60})...' ignored
vartok: unknown word '\\x01\\xC3' ignored"

# Every word the usage lists, with a value where it takes one, is known.
current="no word the game takes is named"
listed=$("$vartok" --help | sed -n 's/^  \([A-Z][A-Z_0-9]*\)\(=[a-zA-Z.]*\)\? .*/\1\2/p')
words=()
for word in $listed; do
    case $word in
    RESUME* | --no-config) ;; # below
    PGN=FILE) words+=("PGN=$e2e_dir/a.pgn") ;;
    FEN=...) words+=("FEN=4k3/8/8/8/8/8/4P3/4K3 w - - 0 1") ;;
    LEVEL=n) words+=("LEVEL=3") ;;
    *=n) words+=("${word%n}2") ;;
    *) words+=("$word") ;;
    esac
done
checks=$((checks + 1))
[[ ${#words[@]} -ge 15 ]] || fail "only ${#words[@]} words read off the usage"
# Without a display GRAPHICS goes on in text mode (SDL may say why on standard error).
DISPLAY= run "quit\n" "${words[@]}" --no-config COMMANDS
checks=$((checks + 1))
! grep -q "unknown word" <<<"$err" || fail "$err"
run "quit\n" RESUME="$e2e_dir/a.pgn" PGN="$e2e_dir/b.pgn"
err_is ""

current="words of a resumed record's settings tag are not named"
sed -i 's/^\[VartokSettings ".*"\]$/[VartokSettings "DEPTH1=2 FAST=1 DEPTH2=4"]/' "$e2e_dir/b.pgn"
run "quit\n" RESUME="$e2e_dir/b.pgn" COMMANDS PGN="$e2e_dir/b2.pgn"
err_is ""
check_settings "$e2e_dir/b2.pgn" "DEPTH1=2 DEPTH2=4 BLUNDERS=0 DEADEND=1988 LIMIT=548"

current="UNICODE in the words file shows chess symbols"
printf '# my words\nUNICODE   COMMANDS\t# the symbols, and typed commands\n' >"$words_file"
run "quit\n"
err_is ""
check_has "8  ♜  ♞  ♝  ♛  ♚  ♝  ♞  ♜  8"
check_status 0

current="--no-config skips the words file"
run "quit\n" --no-config
check_lacks "♜"
check_has "That tile does not exist."
err_is ""

current="the command line overrides the words file"
printf 'DEPTH1=2 DEPTH2=4\nCOMMANDS\n' >"$words_file"
run "d2\nd4\nquit\n" PGN="$e2e_dir/c.pgn"
check_settings "$e2e_dir/c.pgn" "DEPTH1=2 DEPTH2=4 BLUNDERS=0 DEADEND=1988 LIMIT=548"
run "d2\nd4\nquit\n" DEPTH1=5 PGN="$e2e_dir/c.pgn"
check_settings "$e2e_dir/c.pgn" "DEPTH1=5 DEPTH2=4 BLUNDERS=0 DEADEND=1988 LIMIT=548"

current="a resumed game keeps its own settings over the words file's"
run "d2\nd4\nquit\n" --no-config COMMANDS PGN="$e2e_dir/d.pgn"
check_settings "$e2e_dir/d.pgn" "$defaults"
run "d2\nd4\nquit\n" RESUME="$e2e_dir/d.pgn" PGN="$e2e_dir/d2.pgn"
check_settings "$e2e_dir/d2.pgn" "$defaults"
run "d2\nd4\nquit\n" RESUME="$e2e_dir/d.pgn" DEPTH2=7 PGN="$e2e_dir/d2.pgn"
check_settings "$e2e_dir/d2.pgn" "DEPTH1=3 DEPTH2=7 BLUNDERS=0 DEADEND=1988 LIMIT=548"

current="a # inside a word is part of it"
printf 'COMMANDS PGN=%s/e#1.pgn # the record\n' "$e2e_dir" >"$words_file"
run "d2\nd4\nquit\n"
checks=$((checks + 1))
[[ -s "$e2e_dir/e#1.pgn" ]] || fail "no record in e#1.pgn"

current="misspelled words of the words file are named with the file"
printf 'COMMANDS LEVLE=1\n' >"$words_file"
run "quit\n" PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: unknown word 'LEVLE=1' ignored"
printf 'COMMANDS LEVEL=9\n' >"$words_file"
run "quit\n" PGN="$e2e_dir/a.pgn"
check_status 2
err_is "vartok: $words_file: LEVEL=9: the level is a number from 1 to 8"

current="--help names the file and whether it was read"
help_line() { "$vartok" "$@" --help | grep -A2 '^Words file' | tail -n 1; }
checks=$((checks + 3))
[[ $(help_line) == "  $words_file (read)" ]] || fail "help says '$(help_line)'"
[[ $(help_line --no-config) == "  $words_file (not read: --no-config)" ]] ||
    fail "help says '$(help_line --no-config)'"
rm "$words_file"
[[ $(help_line) == "  $words_file (not there, so not read)" ]] || fail "help says '$(help_line)'"

current="a words file that cannot be read is named, and the game goes on"
mkdir "$words_file"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: the words file cannot be read (not a regular file); going on without it"
check_status 0
rmdir "$words_file"
mkfifo "$words_file"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: the words file cannot be read (not a regular file); going on without it"
check_status 0
rm "$words_file"
head -c 70000 /dev/zero | tr '\0' ' ' >"$words_file"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: the words file cannot be read (longer than 64 KiB); going on without it"

current="a words file another user could change is not used"
# Its ENGINE= word would run what that user planted.
printf '#!/bin/sh\ntouch %s/planted-ran\n' "$e2e_dir" >"$e2e_dir/planted"
chmod +x "$e2e_dir/planted"
printf 'ENGINE=%s\n' "$e2e_dir/planted" >"$words_file"
chmod 666 "$words_file"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: the words file is not used, another user could change it (others can write it); playing with the command line's words alone"
check_status 0
chmod 644 "$words_file"
chmod 777 "$(dirname "$words_file")"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: the words file is not used, another user could change it (the folder $(dirname "$words_file"): others can write it); playing with the command line's words alone"
chmod 755 "$(dirname "$words_file")"
if [[ $(id -u) -eq 0 ]]; then # only root can give a file away
    chown nobody "$words_file"
    run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
    err_is "vartok: $words_file: the words file is not used, another user could change it (it belongs to another user); playing with the command line's words alone"
fi
checks=$((checks + 1))
[[ ! -e $e2e_dir/planted-ran ]] || fail "the planted engine ran"
rm -f "$words_file"

current="a line of the words file with a NUL byte is refused, the others are read"
printf 'UNICODE\nCOMMANDS PGN=%s/nul.pgn\0X\n' "$e2e_dir" >"$words_file"
run "quit\n" COMMANDS PGN="$e2e_dir/a.pgn"
err_is "vartok: $words_file: line 2 holds a NUL byte; its words are not used"
check_has "8  ♜  ♞  ♝  ♛  ♚  ♝  ♞  ♜  8"
rm "$words_file"

current="numbers out of range and control bytes in refused words"
for seed in -1 99999999999999999999999 " 5" ""; do
    run "quit\n" "SEED=$seed" PGN="$e2e_dir/a.pgn"
    check_status 2
    err_is "vartok: SEED=$seed: the seed is a whole number from 0 to 18446744073709551615"
done
for word in CLOCK MOVETIME PLAYER ENGINE_OPTION ENGINE_PROTOCOL; do
    run "quit\n" "$word=$(printf '\033')[2J" PGN="$e2e_dir/a.pgn"
    check_status 2
    checks=$((checks + 1))
    [[ $err == "vartok: $word="'\x1B[2J: '* ]] || fail "$word: standard error is '$err'"
done

current="the default place below HOME"
rm "$words_file"
mkdir -p "$e2e_dir/home/.config/vartok"
printf 'UNICODE\n' >"$e2e_dir/home/.config/vartok/words"
out=$(printf 'quit\n' | env -u XDG_CONFIG_HOME HOME="$e2e_dir/home" timeout 60 "$vartok" COMMANDS \
      PGN="$e2e_dir/a.pgn" 2>&1)
check_has "8  ♜  ♞  ♝  ♛  ♚  ♝  ♞  ♜  8"

finish
