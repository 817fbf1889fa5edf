#!/usr/bin/env bash
# Builds once and runs the Wine stages of the test command N times on that
# build, to tell a test that fails now and then from one that always
# passes. With --load, a CPU-bound process runs beside them all the while,
# as on a busy machine. Prints each test that failed and in how many runs;
# the logs stay in build/repeat.
#
#   scripts/repeat-tests.sh [--load] N
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMEYRA_BUILD:-$root/build}
load=0
if [ "${1:-}" = "--load" ]; then load=1; shift; fi
runs=${1:?usage: repeat-tests.sh [--load] N}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build/win" -j"$(nproc)"

logs="$build/repeat"
rm -rf "$logs"
mkdir -p "$logs"
burner=""
stop_burner() { [ -n "$burner" ] && kill "$burner" 2>/dev/null || true; }
trap stop_burner EXIT
if [ "$load" = 1 ]; then
  # One core kept busy for the whole run.
  sh -c 'while :; do :; done' &
  burner=$!
fi

failed_runs=0
for i in $(seq "$runs"); do
  start=$(date +%s)
  if "$root/scripts/wine-tests.sh" "$build/win" >"$logs/run-$i.log" 2>&1; then result=passed; else
    result=FAILED
    failed_runs=$((failed_runs + 1))
  fi
  echo "run $i of $runs: $result in $(($(date +%s) - start)) s"
done

# A test's name with the code page of the stage it failed in; each run
# counts once per test. ctest's own line names a test that failed without
# a test of GoogleTest's failing (a crash, a timeout, the package journey).
echo "tests that failed, in how many of $runs runs$([ "$load" = 1 ] && echo ", beside a CPU-bound process"):"
for i in $(seq "$runs"); do
  awk '/^== Wine stage: / { stage = $0; sub(/^== Wine stage: code page /, "", stage); sub(/ ==$/, "", stage) }
       /^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_\/]+/ { print stage " " $4 }
       /^[ \t]+[0-9]+ - [a-z0-9_]+ \(/ { print stage " ctest:" $3 }' "$logs/run-$i.log" | sort -u
done | sort | uniq -c | sort -rn
echo "runs with a failure: $failed_runs of $runs"
[ "$failed_runs" = 0 ]
