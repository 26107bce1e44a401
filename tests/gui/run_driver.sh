#!/usr/bin/env bash
# Runs a test driver under Wine with its output passed on through a file. The Wine
# services that a run starts keep their copy of the output open for a few seconds after
# the driver has ended; with a pipe, ctest would wait for them after every test.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$(dirname "$0")/../../scripts/wine-run.sh" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit "$status"
