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

BUILD_WIN="$build/win"
{ source "$root/scripts/wine-env.sh"; } 2>/dev/null
trap wine_cleanup EXIT
xvfb_start
wine_prefix_setup
# A persistent server, so that Wine's helpers do not hold ctest's pipes open.
"$WINESERVER" -p
rm -rf "$build/win/artifacts"
# One at a time: the tests share the prefix's registry and desktop. First
# as on an English Windows (ANSI code page 1252), the journeys run from a
# folder with a Cyrillic name; then the tests that look at text once more as
# on a Russian Windows (1251). Each run checks that Wine used its code page.
LUMEYRA_EXPECT_ACP=1252 ctest --test-dir "$build/win" --output-on-failure -E '^e2e_tests$'
LC_ALL=ru_RU.UTF-8 LUMEYRA_EXPECT_ACP=1251 ctest --test-dir "$build/win" --output-on-failure \
  -R '^(win_tests|dialog_tests|e2e_tests)$'

for bmp in "$build/win/artifacts"/*.bmp; do
  [ -e "$bmp" ] && /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "Screenshots: $build/win/artifacts"
