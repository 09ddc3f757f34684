#!/usr/bin/env bash
# The board turned for Black (FLIP) and the side panel (PANEL) in a real window under Xvfb,
# read off screenshots as a person reads the screen: labels and panel lines are decoded with
# the game's font file, pieces and marks by their colours. A person plays Black with real
# arrow-key presses against the computer playing White.
# Usage: view_e2e.sh VARTOK_BINARY CLOSE_WINDOW_HELPER SCREEN_TEXT_HELPER DATA_DIR
set -u
vartok=$1 close_window=$2 screen_text=$3 data_dir=$4

source "$(dirname "$0")/../../tools/xvfb_session.sh"
begin_window_test xdotool convert import

cd "$data_dir" || exit 1

# The emulated 320x200 display is shown scaled by two; its background is colour 1.
background=0000A0
light=FFFFFF dark=A0A000 cursor=5F5FFF last_move=FF5F5F

shot() {
    import -window "$win" "$work/$1.png" && convert "$work/$1.png" -depth 8 "rgb:$work/$1.rgb"
}
# text_at SHOT X Y COUNT [DX DY]: the characters drawn there, in emulated pixels.
text_at() {
    local name=$1
    shift
    "$screen_text" font.fnt "$work/$name.rgb" "$background" "$@"
}
text_is() { # text_is SHOT X Y COUNT TEXT
    [ "$(text_at "$1" "$2" "$3" "$4")" = "$5" ]
}
pixel() { convert "$work/$1.png" -format "%[hex:p{$2,$3}]" info:; }
pixel_is() { [ "$(pixel "$1" "$2" "$3")" = "$4" ]; }
pixel_is_not() { [ "$(pixel "$1" "$2" "$3")" != "$4" ]; }
# The colours inside the square at row ROW, column COL of the picture (not of the board).
square_colours() {
    local name=$1 row=$2 col=$3
    convert "$work/$name.png" -crop "48x48+$(((8 + col * 24) * 2))+$((row * 48))" +repage \
        -format "%c" histogram:info:
}
square_has() { grep -q "#$4" <<<"$(square_colours "$1" "$2" "$3")"; }
square_lacks() { ! square_has "$@"; }
# A window pixel inside the square at picture (ROW, COL), DX and DY emulated pixels in.
square_pixel_is() { # SHOT ROW COL DX DY COLOUR
    pixel_is "$1" $(((8 + $3 * 24 + $4) * 2)) $((($2 * 24 + $5) * 2)) "$6"
}
# The cursor's square is drawn 2 pixels inside the square; this corner stays clear of pieces.
cursor_at() { square_pixel_is "$1" "$2" "$3" 3 6 "$cursor"; }
# The last move's frame runs along the inside of the square's edge.
framed() { square_pixel_is "$1" "$2" "$3" 0 12 "$last_move"; }
# Waits up to 10 s for a whole line in the game's standard output, N times.
output_has() { # output_has LINE [N]
    for _ in $(seq 100); do
        [ "$(grep -cxF -- "$1" "$work/stdout")" -ge "${2:-1}" ] && return 0
        sleep 0.1
    done
    return 1
}
keys() { xdotool key --delay 80 "$@"; }

start_game() {
    rm -f "$work/game.pgn" # PGN= adds to what is there
    "$vartok" GRAPHICS "$@" PGN="$work/game.pgn" </dev/null >"$work/stdout" 2>"$work/stderr" &
    game_pid=$!
    # Up to 30 s: a loaded machine may be slow to map the window.
    for _ in 1 2 3; do wait_for_window && break; done
    [ -n "$win" ] || {
        echo "FAIL: no window titled Vartok"
        cat "$work/stdout" "$work/stderr"
        exit 1
    }
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool mousemove --window "$win" 300 300
}
close_game() {
    close_window_and_wait 50
    check "closing the window ends the game with status 0" [ "$closed_status" = 0 ]
}
# The SAN moves of the game's record, one a line.
record_moves() {
    grep -v '^\[' "$work/game.pgn" | tr -s ' \n' '\n\n' | grep -vE '^([0-9]+\.+|\*|)$'
}

echo "--- FLIP: a person plays Black against the computer"
start_game WHITE_AI BLACK_HUMAN FLIP
# The first frame may need a moment after the window maps.
await first square_has first 0 3 "$light"
check "file letters run from H to A" [ "$(text_at first 16 192 8 24 0)" = HGFEDCBA ]
check "rank digits run from 1 at the top to 8" [ "$(text_at first 0 9 8 0 24)" = 12345678 ]
# The white pieces are drawn in white, the black ones in black and greys.
check "White's king at the top (picture square d8 holds e1)" square_has first 0 3 "$light"
check "Black's king at the bottom (picture square d1 holds e8)" square_has first 7 3 000000
check "no black piece on the top row" square_lacks first 0 0 000000
check "no white piece on the bottom row" square_lacks first 7 0 "$light"
check "without PANEL the right part stays empty" \
    [ "$(convert "$work/first.png" -crop 240x400+400+0 +repage -format %k info:)" = 1 ]

# The computer opens with its book move; Black's cursor starts on h1, the top-left corner.
check "the computer has moved" output_has "2: Black's turn."
keys Down
check "Down moves the cursor down the picture" await down cursor_at down 1 0
keys Right
check "Right moves it to the right" await right cursor_at right 1 1
# On to e7, Black's king pawn: picture row 6, column 3.
keys Down Down Down Down Down Right Right
check "the cursor reaches picture square (6, 3)" await e7 cursor_at e7 6 3
keys Return
check "that square is e7: its pawn is chosen" output_has "Select where to move."
keys Up
check "Up moves the cursor up the picture" await up cursor_at up 5 3
keys Up Return
check "the computer answers" output_has "3: White's turn."
check "the person played e7-e5" [ "$(record_moves | sed -n 2p)" = e5 ]
check "Black's pawn drawn on e5: picture row 4, column 3" \
    await e5 square_has e5 4 3 000000
close_game

echo "--- PANEL with FLIP: the panel after each move, the last move's squares, the search"
# A slow search for the third half-move, so that a screenshot sees it.
start_game WHITE_AI BLACK_HUMAN FLIP PANEL DEPTH1=5 DEPTH2=5 DEADEND=2200
check "after the computer's book move: Black to move" \
    await book text_is book 202 4 13 "Black to move"
check "the panel shows 1. e4" text_is book 202 20 13 "1. e4"
check "no second move line" text_is book 202 30 13 ""
check "e2 (picture row 1, column 3) is framed" framed book 1 3
check "e4 (picture row 3, column 3) is framed" framed book 3 3
check "e3 between them is not" square_pixel_is book 2 3 0 12 "$dark"
check "the frame leaves the square's middle alone" square_pixel_is book 1 3 12 12 "$light"
check "no search shown" text_is book 202 156 13 ""

keys Down Down Down Down Down Down Right Right Right Return
check "e7 chosen" output_has "Select where to move."
keys Up Up Return
check "after the person's move the panel shows 1...e5" \
    await reply text_is reply 202 30 13 "1...e5"
check "the first move stays above it" text_is reply 202 20 13 "1. e4"
check "e7 is framed" framed reply 6 3
check "e5 is framed" framed reply 4 3
check "e2 is no longer framed" square_pixel_is reply 1 3 0 12 "$light"
check "while the computer searches the panel says Thinking..." \
    await thinking text_is thinking 202 156 13 "Thinking..."
check "with the depth of its pass" \
    eval '[[ "$(text_at thinking 202 166 13)" == "Depth 5" ]]'
check "and how many moves are rated" \
    eval '[[ "$(text_at thinking 202 176 13)" =~ ^[0-9]+/[0-9]+$ ]]'
check "after the computer's move: Black to move again" \
    await second text_is second 202 4 13 "Black to move"
check "the record holds three moves" [ "$(record_moves | wc -l)" = 3 ]
computer_move=$(record_moves | sed -n 3p)
check "the panel shows the computer's move as the record has it (2. $computer_move)" \
    text_is second 202 40 13 "2. $computer_move"
check "the search is no longer shown" text_is second 202 156 13 ""
close_game

if [ "$failures" -ne 0 ]; then
    echo "--- stdout"; tail -30 "$work/stdout"; echo "--- stderr"; cat "$work/stderr"
    echo "view e2e: $failures check(s) failed"
    exit 1
fi
echo "view e2e: all checks passed"
