#!/usr/bin/env bash
# Runs a test program under Wine with its output going to a file, printed
# when the program ends. The local server that COM starts for the test
# inherits the test's output; through a file, CTest need not wait for the
# server to end before it sees the test's end.
out=$(mktemp)
"$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-run.sh" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
