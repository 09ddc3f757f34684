#!/usr/bin/env bash
# compare_transcripts.sh OLD_VARTOK NEW_VARTOK: self-played games of two builds, with the
# calendar clock fixed so that both seed their random draws alike, compared byte for byte
# (standard output and exit status) over several clock dates and settings. For changes that
# must leave what the game prints untouched. Records are kept in a scratch folder.
source "$(dirname "$0")/script_help.sh"
set -uo pipefail
old=$1 new=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
command -v faketime >/dev/null || { echo "faketime is needed"; exit 2; }
failures=0
for date in 2026-01-01 2026-02-03 2026-03-05 2026-04-07 2026-05-09 2026-06-11; do
    for words in "WHITE_AI DEPTH1=2 DEPTH2=3" "WHITE_AI DEPTH1=1 DEPTH2=3 BLUNDERS=3" \
                 "WHITE_AI DEPTH1=2 DEPTH2=4 DEADEND=500"; do
        for build in old new; do
            yes '' | head -n 3000 | faketime -f "$date 00:00:00" "${!build}" $words \
                >"$work/$build.txt" 2>/dev/null
            echo "status $?" >>"$work/$build.txt"
        done
        if cmp -s "$work/old.txt" "$work/new.txt"; then
            echo "same: $date $words ($(wc -l <"$work/old.txt") lines)"
        else
            echo "DIFFERENT: $date $words"
            failures=$((failures + 1))
        fi
    done
done
echo "$failures of 18 games differ"
[[ $failures -eq 0 ]]
