#!/bin/sh
# Runs a Windows program under Wine for CTest (the test programs' discovery and the tests themselves).
# Now and then, on a busy machine, Wine fails to start a program at all: it exits at once with a failure
# and without a word, which would end CTest's discovery of a whole test program. Such a start is tried
# again, twice at most. A program that ran says something (every test program does), so its own failures
# stand as they are.
#   wine-start.sh WINE PROGRAM [ARG]...
wine=$1
shift
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
    "$wine" "$@" >"$out" 2>"$err"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then
        break
    fi
    echo "wine-start.sh: $1 did not start (status $status, attempt $attempt)" >>"${TMPDIR:-/tmp}/wine-start.log"
    sleep 1
done
cat "$out"
cat "$err" >&2
exit "$status"
