#!/usr/bin/env bash
# Runs a Windows program under a build folder's private wine (see wine-env.sh):
#
#   tools/wine-run.sh [--wine-dir=DIR] [--display=:N] PROGRAM.exe [ARGS...]
#
# DIR defaults to $DOSAT_WINE_DIR. The display is --display, else the test Xvfb's
# (DIR/display) while it runs, else none. A PROGRAM that is not an .exe runs as it is,
# in the same environment: a script that drives a window with xdotool, say.
set -euo pipefail
here=$(dirname "$0")

dir=${DOSAT_WINE_DIR:-} display=
while (($#)); do
  case $1 in
    --wine-dir=*) dir=${1#*=} ;;
    --display=*) display=${1#*=} ;;
    --) shift; break ;;
    *) break ;;
  esac
  shift
done
(($#)) && [[ -n $dir ]] || { echo "usage: wine-run.sh [--wine-dir=DIR] [--display=:N] PROGRAM [ARGS...]" >&2; exit 2; }

bash "$here/wine-env.sh" "$dir"  # at once when the prefix is there
source "$here/wine-env.sh" "$dir"
if [[ -z $display && -s $wine_dir/display ]] && kill -0 "$(cat "$wine_dir/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
  display=$(<"$wine_dir/display")
fi
unset WAYLAND_DISPLAY DISPLAY
[[ -n $display ]] && export DISPLAY=$display
export DOSAT_WINE_DIR=$wine_dir

case ${1,,} in
  *.exe) exec "$WINELOADER" "$@" ;;
  *) exec "$@" ;;
esac
