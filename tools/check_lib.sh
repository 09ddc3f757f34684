# Checks for the test scripts (bash): source it, call `check DESCRIPTION COMMAND...` for each
# check (one "ok:"/"FAIL:" line, the failures counted), then `finish_checks NAME`.
failures=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# Exits with status 1 and a count line when a check failed.
finish_checks() {
    [ "$failures" = 0 ] || { echo "$1: $failures check(s) failed"; exit 1; }
}
