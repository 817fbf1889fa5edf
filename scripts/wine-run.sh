#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest and passes on its exit code.
# Wine's helper processes (services, the virtual desktop) outlive the program;
# they inherit a log file and /dev/null here instead of ctest's pipes, which
# they would otherwise hold open and stall ctest until they end.
log=$(mktemp)
start=$(date +%s.%N)
"${WINE:-wine}" "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
# A failure that printed nothing at all (Wine itself did not start the
# program, or the program was ended from outside) says so.
if [ "$rc" != 0 ]; then
  echo "$(basename "$1") under Wine: exit code $rc after $(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }') s" >&2
fi
exit $rc
