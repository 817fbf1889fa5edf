#!/usr/bin/env bash
# Builds Lumeyra.exe and HookKeyUp.dll and starts the program under Wine, on
# the current X display or, without one, on a virtual one.
#
# The run has a Wine prefix and a program folder of its own, under
# build/run, which no test touches: the first run on a clone is a new
# user's first start (the defaults written, the spectacles at half opacity
# at the bottom right), and a later run keeps what was set in the earlier
# ones, the password included, as an installed copy would. Remove build/run
# to start afresh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMEYRA_BUILD:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build/win" -j"$(nproc)" --target Lumeyra HookKeyUp help_file

# The folder as the setup or the zip leaves it: the program, the hook
# library, the sounds and the help file, and the empty password's record
# unless a password was set in an earlier run.
folder="$build/run/Lumeyra"
mkdir -p "$folder"
cp "$build/win/bin/Lumeyra.exe" "$build/win/bin/HookKeyUp.dll" "$build/win/bin/OnReleaseWarning.wav" \
  "$build/win/bin/OnStartWork.wav" "$build/win/help/Lumeyra.CHM" "$folder/"
[ -e "$folder/Pass.bin" ] || cp "$root/res/Pass.bin" "$folder/"

BUILD_WIN="$build/win"
LUMEYRA_PREFIX="$build/run/wineprefix"
{ source "$root/scripts/wine-env.sh"; } 2>/dev/null
trap wine_cleanup EXIT
xvfb_start
[ -n "$XVFB_PID" ] && echo "No X display: running on the virtual display $DISPLAY"
wine_prefix_setup
cd "$folder"
echo "Starting Lumeyra.exe (its icon sits in the notification area; Ctrl+C ends it)"
echo "Its settings live in the Wine prefix $WINEPREFIX; remove $build/run to start afresh."
"$WINE" Lumeyra.exe
