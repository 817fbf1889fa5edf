#!/usr/bin/env bash
# The packages' journey under Wine, in a prefix made afresh: silent install,
# the installed program (package_tests Installed*), an upgrade over it
# (Upgraded*, the program also run out of the setup's sight), the silent
# uninstall (Uninstalled*), and the portable zip unpacked and run
# (Portable*).
#   journey.sh <Windows build folder> <version>
set -euo pipefail
build=$1
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_WIN="$build"
{ source "$root/scripts/wine-env.sh"; } 2>/dev/null
export WINEPREFIX="$build/package-prefix"
state="$build/package-state"
log="$build/package-journey.log"
trap wine_cleanup EXIT
xvfb_start
rm -rf "$WINEPREFIX" "$state"
mkdir -p "$state"
wine_prefix_setup
"$WINESERVER" -p
hold_desktop

to_win() { echo "Z:${1//\//\\}"; }
# The administrative template in a package's folder names every policy the
# program reads.
check_admx() {
  python3 "$root/tests/package/check_admx.py" "$1/policies" TimeWork TimeRelese AllowStopTimer AllowExit QuietFullScreen
}
setup="$build/dist/Lumeyra-Setup-$version.exe"
installed='C:\Program Files\Lumeyra'
# Wine's helpers outlive each call: they get a log file, not ctest's pipes.
stage() {
  local dir=$1 filter=$2
  echo "== $filter"
  "$WINE" "$build/bin/package_tests.exe" --exe-dir="$dir" --artifacts="$(to_win "$build/artifacts")" \
    --state="$(to_win "$state")" --setup="$(to_win "$setup")" --gtest_filter="$filter" </dev/null >"$log" 2>&1 \
    || { cat "$log"; exit 1; }
  grep -E "^\[ *(OK|PASSED|FAILED) " "$log" || true
}

echo "== silent install"
# Wine's icacls changes nothing, but its trace shows the step ran, and how.
WINEDEBUG=fixme+icacls "$WINE" "$setup" /S </dev/null >"$log" 2>&1 || { cat "$log"; exit 1; }
grep -F 'stub: "C:\\windows\\system32\\icacls.exe" "C:\\Program Files\\Lumeyra\\Pass.bin" "/grant" "*S-1-5-32-545:(M)"' \
  "$log" || { echo "the setup did not grant Users the right to change Pass.bin:"; cat "$log"; exit 1; }
stage "$installed" 'InstalledFiles.*:Installed.*'
check_admx "$WINEPREFIX/drive_c/Program Files/Lumeyra"

echo "== silent upgrade"
"$WINE" "$setup" /S </dev/null >"$log" 2>&1 || { cat "$log"; exit 1; }
stage "$installed" 'Upgraded*'

echo "== silent uninstall"
"$WINE" "$installed\\uninstall.exe" /S </dev/null >"$log" 2>&1 || { cat "$log"; exit 1; }
stage "$installed" 'Uninstalled.*'

echo "== portable zip"
portable="$WINEPREFIX/drive_c/portable"
mkdir -p "$portable"
(cd "$portable" && cmake -E tar xf "$build/dist/Lumeyra-$version-portable.zip")
check_admx "$portable/Lumeyra-$version"
stage "C:\\portable\\Lumeyra-$version" 'Portable.*'
