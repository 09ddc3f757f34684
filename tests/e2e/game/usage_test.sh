#!/usr/bin/env bash
# --help, -h and --version answer and exit 0 without starting a game; the usage lists every
# word of the README's table with its default.
# Usage: usage_test.sh VARTOK REFERENCE PROJECT_VERSION (docs/reference.md, the words' tables)
set -u
vartok=$1 readme=$2 version=$3
source "$(dirname "$0")/../../../tools/check_lib.sh"
# A words file of the person running the tests must not change the answers.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
# run WORDS...: runs the game on empty input; sets $out, $err and $status.
run() {
    local errfile
    errfile=$(mktemp)
    out=$(timeout 10 "$vartok" "$@" </dev/null 2>"$errfile")
    status=$?
    err=$(cat "$errfile")
    rm -f "$errfile"
}
no_game() { ! grep -q "White's turn" <<<"$out" && ! grep -q "End of input." <<<"$out"; }

for word in --help -h; do
    run "$word"
    check "$word ends with status 0" [ "$status" = 0 ]
    check "$word starts no game" no_game
    check "$word prints nothing on standard error" [ -z "$err" ]
    help=$out
done
check "the usage names the program" grep -q "^Usage: vartok " <<<"$help"
check "the usage fits 80 columns" eval '! awk "length > 80" <<<"$help" | grep -q .'

# Every word of the README's table, with the README's default.
words=0
while IFS='|' read -r _ word _ default _; do
    word=$(sed 's/^ *`\(.*\)` *$/\1/' <<<"$word")
    default=$(sed 's/^ *//; s/ *$//' <<<"$default")
    words=$((words + 1))
    check "the usage lists $word with its default ($default)" \
        grep -qE "^  $word +.*; default: $default$" <<<"$help"
done < <(sed -n '/^## Command-line words/,/^## /p' "$readme" | grep '^| `')
check "the README's table has the eight words" [ "$words" -ge 8 ]

# --help, the manual page's synopsis and the README name the same words: one added to the
# game and left out of one of them fails here.
man_page=$(dirname "$readme")/../data/vartok.6 # the reference is in docs/
help_words=$(grep -oE '^  (--no-config|[A-Z][A-Z0-9_]*=?)' <<<"$help" | sed 's/^  //' | sort -u)
man_words=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH/p' "$man_page" | sed -n 's/^\.RB \[ \(\\-\\-no\\-config\|[A-Z][A-Z0-9_]*=\?\).*/\1/p' |
            sed 's/\\-/-/g' | sort -u)
check "the manual page's synopsis names the words of --help" [ "$help_words" = "$man_words" ]
[ "$help_words" = "$man_words" ] || diff <(echo "$help_words") <(echo "$man_words")
for word in $help_words; do
    check "the README's tables name $word" grep -qE "^\| .*\`$word" "$readme"
done

run --version
check "--version ends with status 0" [ "$status" = 0 ]
check "--version prints the project's version" [ "$out" = "vartok $version" ]

run GRAPHICS WHITE_AI --help
check "--help after other words still answers" eval '[ "$status" = 0 ] && [ "$out" = "$help" ]'
check "--help opens no window" [ -z "$err" ]

# Words that only look like them are ignored as before: the game starts.
for word in --HELP -help --versions help; do
    run "$word"
    check "$word starts a game" eval '[ "$status" = 1 ] && grep -q "^1: White.s turn.$" <<<"$out"'
done

finish_checks "usage"
echo "usage: all checks passed"
