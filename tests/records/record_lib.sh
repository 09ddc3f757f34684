# Helpers for the record tests: the moves of a PGN record, one SAN token a line.
source "$(dirname "${BASH_SOURCE[0]}")/../support/record_check.sh"

san_tokens() {
    grep -v '^\[' "$1" | sed -e 's/{[^}]*}//g' | tr ' ' '\n' |
        grep -vE '^$|^[0-9]+\.+$|^(1-0|0-1|1/2-1/2|\*)$' | sed -E 's/^[0-9]+\.+//'
}

# The persons' answers of random_game_input lines as the game reads them.
as_input() {
    tr '|' '\n'
}
