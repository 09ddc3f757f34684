#!/usr/bin/env bash
# Builds Vartok with its tests and runs every test: unit and end-to-end tests on the release
# build, then the unit tests and the sanitize-labelled end-to-end tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
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
# System libraries' own leaks are suppressed by name (tests/lsan.supp), the game's are not.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure -j"$jobs" -L 'unit|sanitize'
