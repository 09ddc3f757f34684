#!/usr/bin/env bash
# Plays the real game in a real window under Xvfb: finds the window by its title, checks
# its size and the pixels of the first frame, plays e2-e4 with real key presses, answers a
# message with a key, checks the printed text, closes the window and checks the exit status.
# Usage: graphics_e2e.sh VARTOK_BINARY CLOSE_WINDOW_HELPER DATA_DIR
set -u
vartok=$1 close_window=$2 data_dir=$3

source "$(dirname "$0")/../../../tools/xvfb_session.sh"
begin_window_test xdotool convert import


cd "$data_dir" || exit 1
"$vartok" GRAPHICS BLACK_HUMAN </dev/null >"$work/stdout" 2>"$work/stderr" &
game_pid=$!

wait_for_window || { echo "FAIL: no window titled Vartok"; cat "$work/stdout" "$work/stderr"; exit 1; }
echo "ok: window titled Vartok found"

geometry=$(xdotool getwindowgeometry "$win")
check "window is 640x400" grep -q "Geometry: 640x400" <<<"$geometry"
check "window is centred" grep -q "Position: 192,184" <<<"$geometry"

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }
shot() { import -window "$win" "$work/$1.png"; }
pixel_is() { [ "$(pixel "$work/$1.png" "$2" "$3")" = "$4" ]; }
pixel_is_not() { [ "$(pixel "$work/$1.png" "$2" "$3")" != "$4" ]; }

# The first frame may need a moment after the window maps.
await first pixel_is first 16 0 FFFFFF

# Waiting at the tile cursor, the game has already handed its prompt to the reader of its
# output (a file here, not a terminal), before any key is pressed.
prompt_written() {
    for _ in $(seq 50); do
        grep -q "^Select piece.$" "$work/stdout" && return 0
        sleep 0.1
    done
    return 1
}
check "the piece prompt is written out while the cursor waits" prompt_written

# Colours of the emulated display as the window shows them.
colour_hex() {
    local c=$1 boost=0 r=0 g=0 b=0
    ((c & 8)) && boost=$((0x5F))
    ((c & 4)) && r=$((0xA0))
    ((c & 2)) && g=$((0xA0))
    ((c & 1)) && b=$((0xA0))
    printf "%02X%02X%02X" $((r + boost)) $((g + boost)) $((b + boost))
}

# Every pixel of a sprite placed at (x, y) of the emulated display must appear as a 2x2
# block of its colour; transparent pixels show the square's colour.
sprite_matches() { # IMAGE SPRITE_FILE X Y SQUARE_COLOUR
    local image=$1 sprite=$2 x=$3 y=$4 square=$5
    local bytes w h
    bytes=($(od -An -tu1 -v "$sprite"))
    w=${bytes[0]} h=${bytes[1]}
    local palette=()
    for c in $(seq 0 15); do palette+=("$(colour_hex "$c")"); done
    convert "$image" -crop "$((2 * w))x$((2 * h))+$((2 * x))+$((2 * y))" +repage txt:- |
        awk -v w="$w" -v h="$h" -v square="$(colour_hex "$square")" -v pal="${palette[*]}" \
            -v px="${bytes[*]}" '
        BEGIN { split(pal, p, " "); split(px, b, " "); bad = 0; seen = 0 }
        /^[0-9]/ {
            split($1, xy, "[,:]"); sx = int(xy[1] / 2); sy = int(xy[2] / 2)
            idx = b[3 + sy * w + sx]
            want = (idx == 255) ? square : p[idx + 1]
            match($0, /#[0-9A-Fa-f]+/); got = toupper(substr($0, RSTART + 1, 6))
            seen++
            if (got != want) { if (bad < 5) print "  pixel " $1 " is " got ", want " want; bad++ }
        }
        END {
            if (bad == 0 && seen == w * h * 4) exit 0
            print "  " bad " pixels differ, " seen " seen"
            exit 1
        }'
}

first="$work/first.png"
check "a8 is a light square" [ "$(pixel "$first" 16 0)" = FFFFFF ]
check "b8 is a dark square" [ "$(pixel "$first" 64 0)" = A0A000 ]
check "a1 is a dark square" [ "$(pixel "$first" 17 383)" = A0A000 ]
check "the screen around the board is blue" [ "$(pixel "$first" 639 399)" = 0000A0 ]
check "white king drawn on e1, scaled by two" sprite_matches "$first" king.spr 106 169 6
check "white pawn drawn on e2, scaled by two" sprite_matches "$first" pawn.spr 106 146 15
black_king=$(convert "$first" -crop 40x44+212+2 +repage -format "%c" histogram:info:)
check "black king on e8 is drawn in black and greys" grep -q "#000000" <<<"$black_king"

# e2 to e4 with the arrow keys: the cursor starts on h1.
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
xdotool mousemove --window "$win" 300 300
xdotool key --delay 60 Up Left Left Left Return
check "cursor shown on e2" await chosen pixel_is chosen 214 300 5F5FFF
xdotool key --delay 60 Up Up Return
check "white pawn now on e4" await moved sprite_matches "$work/moved.png" pawn.spr 106 98 15
check "e2 is empty" [ "$(convert "$work/moved.png" -crop 48x48+208+288 +repage -format "%k" info:)" = 1 ]

# Black's cursor starts on e4, a white pawn: the refusal waits in the message box until a
# typed key acknowledges it.
xdotool key Return
check "message box shown" await message pixel_is message 100 70 A00000
xdotool key Right
sleep 0.5
shot arrow
check "an arrow key does not acknowledge it" pixel_is arrow 100 70 A00000
xdotool key a
check "a typed key acknowledges it" await acknowledged pixel_is_not acknowledged 100 70 A00000

close_window_and_wait 50
check "closing the window ends the game with status 0" [ "$closed_status" = 0 ]

out="$work/stdout"
check "prompts printed" grep -q "Select where to move." "$out"
check "the piece prompt came back after the message" \
    eval '[ "$(grep -c "^Select piece.$" "$out")" = 3 ]'
check "White's turn announced" grep -q "^1: White's turn.$" "$out"
check "Black's turn announced after the move" grep -q "^2: Black's turn.$" "$out"
check "text board shows the pawn on e4" grep -q "^4 \]   \[\[   \]\]   \[\[   \]\] P \[\[   \]\]   \[\[   \]$" "$out"

if [ "$failures" -ne 0 ]; then
    echo "--- stdout"; tail -30 "$out"; echo "--- stderr"; cat "$work/stderr"
    echo "graphics e2e: $failures check(s) failed"
    exit 1
fi
echo "graphics e2e: all checks passed"
