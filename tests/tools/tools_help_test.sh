#!/usr/bin/env bash
# Every developer tool answers --help (and -h) with its usage on standard output and
# status 0, without doing its work.
# Usage: tools_help_test.sh TOOL...
set -u
source "$(dirname "$0")/../../tools/check_lib.sh"
for tool in "$@"; do
    name=$(basename "$tool")
    for word in --help -h; do
        out=$(timeout 10 "$tool" "$word" </dev/null 2>/dev/null)
        status=$?
        check "$name $word ends with status 0" [ "$status" = 0 ]
        check "$name $word prints its usage" grep -q "^usage: $name" <<<"$out"
    done
done
finish_checks tools_help_test
