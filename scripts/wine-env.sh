# Sourced by the run and test scripts: a Wine prefix of the project's own
# under the build folder, a virtual desktop, and an X server when none runs.
# Expects BUILD_WIN (the Windows build folder). The tests' prefix is
# BUILD_WIN/wineprefix; LUMEYRA_PREFIX names another (the run's own).

export WINEPREFIX="${LUMEYRA_PREFIX:-$BUILD_WIN/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The locale picks Wine's ANSI code page: en_US gives 1252 (an English
# Windows), ru_RU 1251 (a Russian one). The program is right under either;
# the tests run under both. Wine reads Unix file names in the locale's
# character set, so the locales are compiled here (into the build folder,
# leaving the system alone) for folders with Cyrillic names to be reachable.
export LOCPATH="$BUILD_WIN/locales"
export LC_ALL=en_US.UTF-8
mkdir -p "$LOCPATH"
for locale in en_US ru_RU; do
  [ -d "$LOCPATH/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null || true
done
WINE=$(command -v wine || command -v wine-stable)
WINESERVER=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)
export WINE WINESERVER

# Creates the prefix once (the marker's name changes whenever what this sets
# up changes, so that older prefixes are made anew): fonts where Debian's wine looks for them, the
# common Windows font names mapped to Liberation, a virtual desktop with a
# taskbar (and so a notification area), and no audio driver.
wine_prefix_setup() {
  [ -f "$WINEPREFIX/.lumeyra-ready-2" ] && return 0
  rm -rf "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  # Wine's own "Courier" holds bitmaps of a few small sizes only, so a
  # 45-point Courier came out tiny; leave it out and let Liberation Mono,
  # scalable and fixed-pitch like Windows' Courier at large sizes, stand in.
  for font in /usr/share/wine/fonts/*; do
    case "$(basename "$font")" in cou*) continue ;; esac
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  local reg
  reg="$(dirname "$WINEPREFIX")/prefix-setup.reg"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
REG
  "$WINE" regedit "$reg" >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.lumeyra-ready-2"
}

# Starts Xvfb on a free display unless one is given; XVFB_PID names it.
XVFB_PID=""
xvfb_start() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=91
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

# Wine closes a desktop one second after the last program on it ends; a
# program that starts in that moment can be left without one and end at
# once (see tests/support/DesktopHold.cpp). The holder stays on the desktop
# for the whole run and ends with the prefix's server, in wine_cleanup.
hold_desktop() {
  "$WINE" "$BUILD_WIN/bin/desktop_hold.exe" </dev/null >/dev/null 2>&1 &
}

# Ends only what these scripts started: this prefix's wineserver and our Xvfb.
wine_cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
