#!/usr/bin/env bash
# Builds Lumeyra.exe and HookKeyUp.dll and starts the program under Wine, on
# the current X display or, without one, on a virtual one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMEYRA_BUILD:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build/win" -j"$(nproc)" --target Lumeyra HookKeyUp

BUILD_WIN="$build/win"
{ source "$root/scripts/wine-env.sh"; } 2>/dev/null
trap wine_cleanup EXIT
xvfb_start
[ -n "$XVFB_PID" ] && echo "No X display: running on the virtual display $DISPLAY"
wine_prefix_setup
cd "$build/win/bin"
echo "Starting Lumeyra.exe (its icon sits in the notification area; Ctrl+C ends it)"
"$WINE" Lumeyra.exe
