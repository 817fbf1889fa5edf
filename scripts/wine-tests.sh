#!/usr/bin/env bash
# The Wine stages of the test command, on a build already made: the Windows,
# dialog and end-to-end tests and the package journey, first as on an
# English Windows (ANSI code page 1252), the journeys from a folder with a
# Cyrillic name; then the tests that look at text once more as on a Russian
# Windows (1251), and the dialogs (under both) at 125, 150 and 200 % and
# the spectacles at 150 %.
# Each run checks that Wine used its code page. Expects the Windows build
# folder as its argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD_WIN=${1:?usage: wine-tests.sh BUILD_WIN}

{ source "$root/scripts/wine-env.sh"; } 2>/dev/null
trap wine_cleanup EXIT
xvfb_start
wine_prefix_setup
# A persistent server, so that Wine's helpers do not hold ctest's pipes open.
"$WINESERVER" -p
hold_desktop
rm -rf "$BUILD_WIN/artifacts"
status=0
# Wine reads the display scale (LogPixels) when a process starts and hands
# it to every program. The stages run at 100 % but one; a run cut short in
# that one must not leave the next at 150 %.
set_log_pixels() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
}
set_log_pixels 96
# The run script's prefix is a user's own: what the tests write must never
# reach it. Its settings are read before and after the stages.
run_settings() {
  local reg
  reg="$(dirname "$BUILD_WIN")/run/wineprefix/user.reg"
  [ -e "$reg" ] || { echo "none"; return; }
  awk '/^\[/ { inside = ($1 == "[Software\\\\Lumeyra]") ; if (inside) print $1; next } inside' "$reg"
}
run_before=$(run_settings)
# One stage: its name, its code page (1251 as on a Russian Windows, 1252 as
# on an English one) and the tests ctest runs in it. One at a time: the
# tests share the prefix's registry and desktop.
stage() {
  local name=$1 codepage=$2
  shift 2
  echo "== Wine stage: code page $name =="
  local locale=en_US.UTF-8
  [ "$codepage" = 1251 ] && locale=ru_RU.UTF-8
  LC_ALL=$locale LUMEYRA_EXPECT_ACP=$codepage ctest --test-dir "$BUILD_WIN" --output-on-failure "$@" || status=1
}
stage 1252 1252 -E '^(e2e_tests|e2e_scaled)$'
stage 1251 1251 -R '^(win_tests|dialog_tests|e2e_tests)$'
# The dialogs once more at 125, 150 and 200 %, as on screens of those
# scales, in both code pages, and the spectacles at 150 %; the prefix goes
# back to 100 % afterwards.
for dpi in 120 144 192; do
  set_log_pixels $dpi
  spectacles=""
  [ $dpi = 144 ] && spectacles="|e2e_scaled"
  stage "1252 at $dpi dpi" 1252 -R "^(dialog_tests$spectacles)\$"
  stage "1251 at $dpi dpi" 1251 -R '^dialog_tests$'
done
set_log_pixels 96

if [ "$(run_settings)" != "$run_before" ]; then
  echo "The tests changed the settings in the run script's prefix (build/run/wineprefix)" >&2
  status=1
fi

for bmp in "$BUILD_WIN/artifacts"/*.bmp; do
  [ -e "$bmp" ] && /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "Screenshots: $BUILD_WIN/artifacts"
exit $status
