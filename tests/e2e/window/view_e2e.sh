#!/usr/bin/env bash
# The board turned for Black (FLIP) and the side panel (PANEL) in a real window under Xvfb,
# read off screenshots as a person reads the screen: labels and panel lines are decoded with
# the game's font file, pieces and marks by their colours. A person plays Black with real
# arrow-key presses against the computer playing White.
# Usage: view_e2e.sh VARTOK_BINARY CLOSE_WINDOW_HELPER SCREEN_TEXT_HELPER DATA_DIR
set -u
vartok=$1 close_window=$2 screen_text=$3 data_dir=$4

source "$(dirname "$0")/../../../tools/xvfb_session.sh"
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
# A window pixel inside the square at picture (ROW, COL), DX and DY emulated pixels in.
square_pixel_is() { # SHOT ROW COL DX DY COLOUR
    pixel_is "$1" $(((8 + $3 * 24 + $4) * 2)) $((($2 * 24 + $5) * 2)) "$6"
}
# The cursor's square is drawn 2 pixels inside the square; this corner stays clear of pieces.
cursor_at() { square_pixel_is "$1" "$2" "$3" 3 6 "$cursor"; }
# The last move's frame runs along the inside of the square's edge.
framed() { square_pixel_is "$1" "$2" "$3" 0 12 "$last_move"; }
keys() { xdotool key --delay 80 "$@"; }


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
check "after the person's move the panel shows 1. e4 e5, as a score sheet" \
    await reply text_is reply 202 20 13 "1. e4 e5"
check "no second move line yet" text_is reply 202 30 13 ""
# Colours inside the emulated rectangle X Y W H of a screenshot.
colours_in() {
    convert "$work/$1.png" -crop "$(($4 * 2))x$(($5 * 2))+$(($2 * 2))+$(($3 * 2))" +repage \
        -format %c histogram:info:
}
latest_in_yellow() {
    grep -q "#FFFF5F" <<<"$(colours_in reply 256 20 17 8)" &&
        ! grep -q "#FFFFFF" <<<"$(colours_in reply 256 20 17 8)" &&
        grep -q "#FFFFFF" <<<"$(colours_in reply 202 20 44 8)" &&
        ! grep -q "#FFFF5F" <<<"$(colours_in reply 202 20 44 8)"
}
check "e7 is framed" framed reply 6 3
check "e5 is framed" framed reply 4 3
check "e2 is no longer framed" square_pixel_is reply 1 3 0 12 "$light"
check "while the computer searches the panel says Thinking..." \
    await thinking text_is thinking 202 156 13 "Thinking..."
check "with the depth of its pass" \
    eval '[[ "$(text_at thinking 202 166 13)" == "Depth 5" ]]'
check "and how many moves are rated" \
    eval '[[ "$(text_at thinking 202 176 13)" =~ ^[0-9]+/[0-9]+$ ]]'
# Read off the screenshot after the search was seen: it takes a moment.
check "e5, the latest move, in yellow; 1. e4 before it in white" latest_in_yellow
check "after the computer's move: Black to move again" \
    await second text_is second 202 4 13 "Black to move"
check "the record holds three moves" [ "$(record_moves | wc -l)" = 3 ]
computer_move=$(record_moves | sed -n 3p)
check "the panel shows the computer's move as the record has it (2. $computer_move)" \
    text_is second 202 30 13 "2. $computer_move"
check "the search is no longer shown" text_is second 202 156 13 ""
close_game

echo "--- PANEL with the strong player: its thinking shown while it searches"
start_game PANEL PLAYER=strong MOVETIME=6000
await start text_is start 202 4 13 "White to move"
keys Up Left Left Left Return Up Up Return
check "while the strong player searches the panel says Thinking..." \
    await strong text_is strong 202 156 13 "Thinking..."
check "with its depth" eval '[[ "$(text_at strong 202 166 13)" =~ ^Depth\ [0-9]+$ ]]'
check "and its score from White's side" \
    eval '[[ "$(text_at strong 202 176 13)" =~ ^([+-][0-9]+\.[0-9][0-9]|#-?[0-9]+)$ ]]'
sleep 1
shot later
check "a second later the panel has changed (a deeper search)" \
    eval '! cmp -s "$work/strong.rgb" "$work/later.rgb" && [[ "$(text_at later 202 156 13)" == "Thinking..." ]]'
close_game

finish_window_test "view e2e"
