#!/usr/bin/env bash
# Every tool answers --help and -h with its usage on standard output and status 0, and
# says so with status 1 when that text cannot be written; the engine also answers
# --version, and names a word it does not know before it plays as usual. The analysis
# tool takes the usual start position as written in FEN.
# Usage: help_test.sh SOURCE_DIR ENGINE ANALYSE PERFT AI_BENCH FONT_CONVERTER SPRITE_COMPILER
set -u
source_dir=$1 engine=$2 analyse=$3
shift
programs=("$@")
scripts=(tools/compare_transcripts.sh tools/install-packages.sh tools/ai-bench/compare_builds.sh
         tools/idle-cpu-benchmark/idle_cpu_benchmark.sh tools/perft/speed_vs_stockfish.sh
         tools/screenshot/take_screenshot.sh)
for script in "${scripts[@]}"; do programs+=("$source_dir/$script"); done
source "$source_dir/tools/check_lib.sh"

for program in "${programs[@]}"; do
    name=${program##*/}
    for word in --help -h; do
        err=$(timeout 10 "$program" "$word" 2>&1 >/dev/null)
        out=$(timeout 10 "$program" "$word" 2>/dev/null)
        status=$?
        check "$name $word: status 0, a usage naming it on standard output, nothing on standard error" \
            eval '[ "$status" = 0 ] && [ -z "$err" ] && grep -q "$name" <<<"$out" &&
                  [ "$(wc -l <<<"$out")" -ge 2 ]'
    done
    timeout 10 "$program" --help >/dev/full 2>/dev/null
    status=$?
    check "$name --help into a full disk: a failure, not status 0" [ "$status" != 0 ]
done

# The engine's --help names every option its handshake offers: one added to the engine and
# left out of the help fails here.
help=$(timeout 10 "$engine" --help | tr '\n' ' ')
offered=$(printf 'uci\nquit\n' | timeout 10 "$engine" | sed -n 's/^option name \(.*\) type .*/\1/p')
while IFS= read -r option; do
    check "vartok-engine --help names its option $option" grep -qF "$option" <<<"$help"
done <<<"$offered"
check "vartok-engine --help fits 80 columns" eval '! timeout 10 "$engine" --help | awk "length > 80" | grep -q .'

out=$(timeout 10 "$engine" --version)
check "vartok-engine --version names the engine and its version" \
    eval '[ $? = 0 ] && grep -Eqx "vartok-engine [0-9]+\.[0-9]+\.[0-9]+" <<<"$out"'
err=$(printf 'uci\nquit\n' | timeout 10 "$engine" --hepl 2>&1 >/dev/null)
out=$(printf 'uci\nquit\n' | timeout 10 "$engine" --hepl 2>/dev/null)
check "vartok-engine names an unknown word and plays on" \
    eval '[ "$err" = "vartok-engine: unknown word '"'"'--hepl'"'"' ignored (try --help)" ] && grep -qx uciok <<<"$out"'

start="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
out=$(timeout 60 "$analyse" --depth2 3 "$start" 2>/dev/null)
status=$?
check "vartok-analyse takes the usual start position, as the engine's half-move 2" \
    eval '[ "$status" = 0 ] && grep -q "^2: Moving [a-h][1-8] to [a-h][1-8] " <<<"$out" && grep -q "^FEN: " <<<"$out"'

finish_checks "tools help"
echo "tools help: all checks passed"
