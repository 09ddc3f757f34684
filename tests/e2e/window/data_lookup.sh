#!/usr/bin/env bash
# Where the game finds its data files: the working directory first, then its own folder,
# then the data directory of an installed copy; and what it does when they or the display
# are missing (the missing file is named on standard error). Runs on SDL's dummy video
# driver, no display needed.
# Usage: data_lookup.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
# A words file of the person running the tests must not change the games.
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy
source "$(dirname "$0")/../../../tools/check_lib.sh"
# Runs the game in graphics mode from a directory for up to 3 s; sets $out and $status.
run_in() {
    out=$(cd "$1" && timeout 3 stdbuf -oL "$2" GRAPHICS BLACK_HUMAN </dev/null 2>&1)
    status=$?
}
started() { [ "$status" = 124 ] && grep -q "Select piece." <<<"$out"; }
refused() { [ "$status" = 1 ] && grep -qx "Error while initalizing board." <<<"$out"; }

mkdir "$work/empty" "$work/shortfont" "$work/bare"
cp "$build/vartok" "$work/bare/vartok"
run_in "$work/empty" "$work/bare/vartok"
check "without data files the set-up fails" refused
check "the missing font is named with the places looked in" \
    grep -qx "vartok: cannot open the data file font.fnt (looked in the working folder, $work/bare, .*)" <<<"$out"

run_in "$work/empty" "$build/vartok"
check "the built game started from another folder finds its data files beside it" started

cmake --install "$build" --prefix "$work/prefix" >/dev/null || exit 1
run_in "$work/empty" "$work/prefix/bin/vartok"
check "an installed copy finds its data files" started

head -c 100 "$build/font.fnt" >"$work/shortfont/font.fnt"
run_in "$work/shortfont" "$work/prefix/bin/vartok"
check "a file in the working directory comes first" refused
check "the short font is named" grep -qx "vartok: the data file font.fnt is too short for a font" <<<"$out"

head -c 30 "$build/rook.spr" >"$work/shortfont/rook.spr"
cp "$build/font.fnt" "$work/shortfont/font.fnt"
run_in "$work/shortfont" "$work/prefix/bin/vartok"
check "a short sprite file ends the game" \
    eval '[ "$status" = 1 ] && grep -qx "Error while loading" <<<"$out"'

# No video device at all: the game says so and goes on in text mode.
out=$(cd "$build" && printf 'e2\ne4\n' | SDL_VIDEODRIVER=no-such-driver timeout 5 ./vartok GRAPHICS BLACK_HUMAN 2>&1)
check "without a display the game is played in text mode" \
    eval 'grep -q "^Could not initialize SDL2: " <<<"$out" && grep -q "^2: Black.s turn.$" <<<"$out"'

# No display at all: SDL would open an invisible off-screen window; the game plays in text mode.
out=$(cd "$build" && printf 'e2\ne4\n' | env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
      timeout 5 ./vartok GRAPHICS BLACK_HUMAN 2>/dev/null)
check "without any display the game is played in text mode" \
    eval 'grep -qx "Could not initialize SDL2: no display to open a window on" <<<"$out" && grep -q "^2: Black.s turn.$" <<<"$out"'

# A display named but not there: SDL's own reason, with the display's name.
absent=77
while [ -e "/tmp/.X11-unix/X$absent" ] || [ -e "/tmp/.X$absent-lock" ]; do absent=$((absent + 1)); done
out=$(cd "$build" && printf 'e2\ne4\n' | env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$absent" \
      timeout 5 ./vartok GRAPHICS BLACK_HUMAN 2>/dev/null)
line=$(grep "^Could not initialize SDL2: " <<<"$out")
check "a display that is not there is named with SDL's reason" \
    eval '[ -n "$line" ] && [ "$line" != "Could not initialize SDL2: no display to open a window on" ] &&
          grep -qF "DISPLAY is \":$absent\"" <<<"$line"'
check "without that display the game is played in text mode" grep -q "^2: Black.s turn.$" <<<"$out"

finish_checks "data lookup"
