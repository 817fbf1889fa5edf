#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest and passes on its exit code.
# Wine's helper processes (services, the virtual desktop) outlive the program;
# they inherit a log file and /dev/null here instead of ctest's pipes, which
# they would otherwise hold open and stall ctest until they end.
log=$(mktemp)
"${WINE:-wine}" "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
exit $rc
