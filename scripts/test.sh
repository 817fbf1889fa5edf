#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (with ASan and
# UBSan) and the password reader's fuzzer, then the Windows tests and the
# end-to-end journeys under Wine in a virtual X server. Screenshots the journeys take end up as PNG files in
# build/win/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMEYRA_BUILD:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j"$jobs"
ctest --test-dir "$build/native" --output-on-failure -j"$jobs"

# The password reader against arbitrary files, for a bounded time, starting
# from the committed seeds. An allocation over 64 MB counts as a failure: no
# record read from a small file needs that much.
cmake -S "$root" -B "$build/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMEYRA_FUZZ=ON \
  >/dev/null
cmake --build "$build/fuzz" -j"$jobs" --target password_fuzz
mkdir -p "$build/fuzz/corpus"
if ! (cd "$build/fuzz" && ./tests/fuzz/password_fuzz -max_total_time="${LUMEYRA_FUZZ_SECONDS:-60}" \
  -malloc_limit_mb=64 -print_final_stats=1 corpus "$root/tests/fuzz/corpus/password" 2>fuzz.log); then
  tail -40 "$build/fuzz/fuzz.log"
  exit 1
fi
grep -E "^(Done|stat::number_of_executed_units)" "$build/fuzz/fuzz.log"

cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build/win" -j"$jobs"

"$root/scripts/wine-tests.sh" "$build/win"
