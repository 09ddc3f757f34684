# check_record RECORD OUTPUT: Debian's pgn-extract, an independent PGN reader, reads the game
# record without complaint, and the position it plays the record to is the last board the
# game printed in OUTPUT (its transcript); a game without a move leaves no record. Prints
# what is wrong and returns 1 on a mismatch.
pgn_extract=${PGN_EXTRACT:-/usr/games/pgn-extract}

# The piece placement field of FEN for the last board in a transcript.
last_board_placement() {
    grep -E '^[1-8] [][]' "$1" | tail -n 8 | awk '
        {
            line = substr($0, 3); field = ""; empty = 0
            for (col = 0; col < 8; col++) {
                c = substr(line, col * 5 + 3, 1)
                if (c == " ") { empty++; continue }
                if (empty) { field = field empty; empty = 0 }
                if (c == "H") c = "N"; else if (c == "h") c = "n"
                field = field c
            }
            if (empty) field = field empty
            rows = rows (NR > 1 ? "/" : "") field
        }
        END { print rows }'
}

check_record() {
    local record=$1 output=$2 log fen board
    if [[ ! -e $record ]]; then
        # A game without a move leaves no record: its turn lines all bear one number.
        (($(grep -oE "^[0-9]+: (White|Black)'s turn\.$" "$output" | cut -d: -f1 | sort -u |
            wc -l) <= 1)) && return 0
        echo "no record in $record"
        return 1
    fi
    if [[ ! -s $record ]]; then
        echo "an empty record in $record"
        return 1
    fi
    log=$(mktemp)
    fen=$("$pgn_extract" -F "$record" 2>"$log" | grep -oE '\{ "[^"]*" \}' | tail -n 1)
    if ! grep -qE '^1 game matched out of 1\.$' "$log" || grep -qiE 'fail|error|illegal|unknown' "$log"; then
        echo "pgn-extract refuses $record:"
        cat "$log"
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
    fen=${fen#\{ \"}
    fen=${fen%% *}
    # Without a move the game stands where it started.
    if [[ -z $fen ]]; then
        fen=$(sed -n 's/^\[FEN "\([^ ]*\) .*/\1/p' "$record")
        fen=${fen:-rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR}
    fi
    board=$(last_board_placement "$output")
    if [[ "$fen" != "$board" ]]; then
        echo "the record ends in $fen, the game's last board is $board"
        return 1
    fi
}
