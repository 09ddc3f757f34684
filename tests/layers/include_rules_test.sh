#!/usr/bin/env bash
# The layers include only downward: rules nothing else, the computer player the rules, the
# display only the tile-byte definitions, the engine the computer player and the rules, the
# client of outside engines the rules. (The build refuses a wrong include as well; this
# names every offender at once.)
set -euo pipefail
root=$1
status=0
check() {
    local layer=$1 pattern=$2
    if grep -nE "#include \"($pattern)/" "$root/$layer"/*.h "$root/$layer"/*.cpp; then
        echo "$layer/ includes from a layer above it" >&2
        status=1
    fi
}
check rules 'ai|game|display|client'
check ai 'game|display|client'
check display 'game|ai'
check engine 'game|display'
check client 'ai|game|display|engine'
# The display knows the tile bytes and nothing else of the rules.
if grep -nE '#include "rules/' "$root"/display/*.h "$root"/display/*.cpp | grep -v 'rules/board.h'; then
    echo "display/ includes rules beyond the tile-byte definitions" >&2
    status=1
fi
exit $status
