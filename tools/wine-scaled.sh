#!/usr/bin/env bash
# Runs a Windows program as on a screen scaled to DPI dots per inch (144 is 150 %,
# 192 is 200 %), under the wine that tools/wine-run.sh set up:
#
#   tools/wine-run.sh tools/wine-scaled.sh DPI PROGRAM.exe [ARGS...]
#
# Wine reads the screen's resolution from the prefix when a program starts; the
# prefix is set back to 96 afterwards, whatever the program does.
set -euo pipefail
dpi=$1
shift
set_dpi() {
  "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
"$WINELOADER" "$@"
