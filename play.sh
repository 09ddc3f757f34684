#!/usr/bin/env bash
# Builds Vartok and starts it; command-line words are passed through (e.g. GRAPHICS).
# Only the game and its data files are built; the build's progress goes to standard error,
# so that standard output is the game's alone.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-packages.sh"
echo "Building Vartok..." >&2
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$root/build/release" vartok vartok_data >&2
# The game reads its sprites and font from the working directory: the build puts them there.
cd "$root/build/release"
exec ./vartok "$@"
