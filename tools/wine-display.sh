#!/usr/bin/env bash
# The X server the Windows tests show their windows on, for CTest's fixtures:
#
#   tools/wine-display.sh start DIR   an Xvfb on a free display; writes ":N" to DIR/display
#   tools/wine-display.sh stop DIR    ends the wine session, then the Xvfb
set -euo pipefail
[[ $# -eq 2 && $1 =~ ^(start|stop)$ ]] || { echo "usage: wine-display.sh start|stop DIR" >&2; exit 2; }
source "$(dirname "$0")/wine-env.sh" "$2"
pid_file=$wine_dir/xvfb.pid

stop_xvfb() {
  local pid
  pid=$(cat "$pid_file" 2>/dev/null) || return 0
  # Only our own Xvfb, not whatever now has the number of one that died.
  if [[ $(cat "/proc/$pid/comm" 2>/dev/null) == Xvfb ]]; then
    kill "$pid"
    for _ in {1..50}; do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$pid_file" "$wine_dir/display" "$wine_dir/display.new"
}

# A wine session keeps the display it started with; none may outlive its Xvfb.
wineserver -k 2>/dev/null || true
wineserver -w
stop_xvfb
[[ $1 == stop ]] && exit 0

rm -f "$wine_dir/display.new"
# No pipe of CTest's goes to the server, or CTest would wait for it to end.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$wine_dir/display.new" \
  </dev/null >"$wine_dir/xvfb.log" 2>&1 &
echo $! >"$pid_file"
# -displayfd writes the number, in one write, once the server accepts connections.
for _ in {1..100}; do
  [[ -s $wine_dir/display.new ]] && break
  kill -0 "$(<"$pid_file")" 2>/dev/null || break
  sleep 0.1
done
number=$(<"$wine_dir/display.new")
[[ -n $number ]] || { cat "$wine_dir/xvfb.log" >&2; stop_xvfb; echo "Xvfb did not start" >&2; exit 1; }
echo ":$number" >"$wine_dir/display"
echo "Xvfb on :$number"
