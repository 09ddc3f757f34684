#!/usr/bin/env bash
# Configures and builds the game as ./play.sh does, in a build folder of its own, with
# GoogleTest hidden from CMake; then checks that the game and its data files were built,
# that no test program was, and that the game starts.
# Usage: build_without_gtest.sh SOURCE_DIR CXX_COMPILER
set -u
source_dir=$1 compiler=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../../tools/check_lib.sh"

build=$work/build
if ! cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
        >"$work/configure.log" 2>&1; then
    echo "FAIL: configuring without GoogleTest"
    tail -20 "$work/configure.log"
    exit 1
fi
echo "ok: configured without GoogleTest"
if ! ninja -C "$build" -j2 vartok vartok_data >"$work/build.log" 2>&1; then
    echo "FAIL: building the game without GoogleTest"
    tail -20 "$work/build.log"
    exit 1
fi
echo "ok: built the game without GoogleTest"

check "the game was built" test -x "$build/vartok"
for file in font.fnt pawn.spr bishop.spr rook.spr knight.spr queen.spr king.spr; do
    check "$file was built" test -s "$build/$file"
done
check "no test program was built" \
    eval '[ -z "$(find "$build" -name "*_tests" -type f)" ] && [ ! -e "$build/tests" ]'
out=$(cd "$build" && printf 'e2\ne4\n' | timeout 30 ./vartok BLACK_HUMAN 2>&1)
check "the game starts and takes a move" grep -q "^2: Black's turn.$" <<<"$out"

finish_checks "build without GoogleTest"
echo "build without GoogleTest: all checks passed"
