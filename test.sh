#!/usr/bin/env bash
# Builds Vartok and runs every test: unit and end-to-end tests on the release build, then
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-packages.sh" test
jobs=$(nproc)

cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_TESTING=ON >/dev/null
ninja -C "$root/build/release"
ctest --test-dir "$root/build/release" --output-on-failure -j"$jobs"

cmake -S "$root" -B "$root/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DVARTOK_SANITIZE=ON -DBUILD_TESTING=ON >/dev/null
ninja -C "$root/build/sanitize"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure -j"$jobs" -L 'unit|sanitize'
