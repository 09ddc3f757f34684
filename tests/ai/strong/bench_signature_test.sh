#!/usr/bin/env bash
# The strong player's bench searches fixed positions to a fixed depth on one thread: its
# node count changes with anything the search does. A deliberate change of the search
# updates the figure here (and says so in its commit).
set -uo pipefail
bench=$1
expected=3016356
nodes=$("$bench" | sed -n 's/^positions searched: //p')
if [[ $nodes != "$expected" ]]; then
    echo "FAIL: the bench searched ${nodes:-nothing} positions, the signature is $expected"
    exit 1
fi
echo "bench signature $nodes: ok"
