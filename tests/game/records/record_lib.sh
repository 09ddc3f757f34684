# Helpers for the record tests. Sourcing this file needs pgn-extract (the test is skipped
# without it), makes a scratch folder $dir, and puts the default place of records inside it.
source "$(dirname "${BASH_SOURCE[0]}")/../../support/record_check.sh"
[[ -x $pgn_extract ]] || { echo "pgn-extract not installed: the test needs it (tools/install-packages.sh test installs it)"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export XDG_STATE_HOME=$dir/state XDG_DATA_HOME=$dir/data XDG_CONFIG_HOME=$dir/config
failures=0

# verdict LABEL PROBLEM GOOD: one line per case, counting the failures.
verdict() {
    if [[ -n $2 ]]; then
        echo "$1: $2"
        failures=$((failures + 1))
    else
        echo "$1: $3"
    fi
}

# The moves of a PGN record, one SAN token a line.
san_tokens() {
    grep -v '^\[' "$1" | sed -e 's/{[^}]*}//g' | tr ' ' '\n' |
        grep -vE '^$|^[0-9]+\.+$|^(1-0|0-1|1/2-1/2|\*)$' | sed -E 's/^[0-9]+\.+//'
}

# The persons' answers of random_game_input lines as the game reads them.
as_input() {
    tr '|' '\n'
}
