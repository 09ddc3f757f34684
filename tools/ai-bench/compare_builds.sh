#!/usr/bin/env bash
# compare_builds.sh OLD_BENCH NEW_BENCH [ROUNDS]: runs two builds of vartok-ai-bench one
# after the other, ROUNDS times (default 3), so that both meet the same load on a shared
# machine, and prints the ratio of their mean times (old / new) on one thread and on all
# cores. Both must rate the same positions.
source "$(dirname "$0")/../script_help.sh"
set -euo pipefail
old=$1
new=$2
rounds=${3:-3}
for ((round = 1; round <= rounds; round++)); do
    for which in old new; do
        bench=${!which}
        out=$("$bench" 1)
        totals=$(echo "$out" | grep -E '^  total: ' | head -2)
        rated=$(echo "$totals" | head -1 | awk '{print $2}')
        one=$(echo "$totals" | sed -n 1p | sed 's/.* in \([0-9.]*\) s.*/\1/')
        all=$(echo "$totals" | sed -n 2p | sed 's/.* in \([0-9.]*\) s.*/\1/')
        echo "$which $rated $one $all"
    done
done | awk '
    { n[$1]++; one[$1] += $3; all[$1] += $4; rated[$1] = $2
      printf "  %s build: %s positions, one thread %.3f s, all cores %.3f s\n", $1, $2, $3, $4 }
    END {
        if (rated["old"] != rated["new"]) print "the builds rate different positions"
        printf "new build is %.2f times as fast on one thread, %.2f times on all cores\n",
            one["old"] / one["new"], all["old"] / all["new"]
    }'
