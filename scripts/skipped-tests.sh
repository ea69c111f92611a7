#!/usr/bin/env bash
# Prints, after a ctest run, each skipped test with the reason it gave, which ctest itself
# shows only in verbose mode. $1: the run's log (Testing/Temporary/LastTest.log).
log="${1:-Testing/Temporary/LastTest.log}"
[ -f "$log" ] || exit 0
awk '
    /^[0-9]+\/[0-9]+ Test: / { sub(/^[0-9]+\/[0-9]+ Test: /, ""); test = $0; next }
    /: Skipped$/ { reading = 1; reason = ""; next }
    reading && /^\[/ { reading = 0; printf "Test saltato: %s: %s\n", test, reason; next }
    reading && NF { reason = reason (reason == "" ? "" : " ") $0 }
' "$log"
