#!/usr/bin/env bash
# Runs a Windows program, under the wine that tools/wine-run.sh set up, as on a screen of
# DPI dots per inch (144 is 150 %, 192 is 200 %) and as on the Windows VERSION (winxp, vista,
# win7, win81, win10) that wine then reports:
#
#   tools/wine-run.sh tools/wine-as.sh [--dpi=DPI] [--windows=VERSION] PROGRAM.exe [ARGS...]
#
# Wine reads both from the prefix when a program starts; they are set back afterwards,
# whatever the program does.
set -euo pipefail
dpi= version=
while (($#)); do
  case $1 in
    --dpi=*) dpi=${1#*=} ;;
    --windows=*) version=${1#*=} ;;
    *) break ;;
  esac
  shift
done
reg() { "$WINELOADER" reg "$@" 2>/dev/null; }
# The value KEY VALUE has now, or nothing.
current() { { reg query "$1" /v "$2" || true; } | tr -d '\r' | awk -v v="$2" '$1 == v { print $NF }'; }
# Sets KEY VALUE of TYPE to DATA, or deletes it for no DATA.
put() {
  if [[ -n $4 ]]; then reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null; else reg delete "$1" /v "$2" /f >/dev/null; fi
}
desktop='HKCU\Control Panel\Desktop' wine='HKCU\Software\Wine'
old_dpi=$(current "$desktop" LogPixels) old_version=$(current "$wine" Version)
restore() {
  if [[ -n $dpi ]]; then put "$desktop" LogPixels REG_DWORD "$((old_dpi ? old_dpi : 96))"; fi
  if [[ -n $version ]]; then put "$wine" Version REG_SZ "$old_version"; fi
}
trap restore EXIT
if [[ -n $dpi ]]; then put "$desktop" LogPixels REG_DWORD "$dpi"; fi
if [[ -n $version ]]; then put "$wine" Version REG_SZ "$version"; fi
"$WINELOADER" "$@"
