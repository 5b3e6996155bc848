#!/usr/bin/env bash
# Installs what the calculator needs and this machine lacks (nothing of the tests), builds
# the calculator alone and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

groups=(program)
[[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]] || groups+=(display)
bash tools/install-deps.sh "${groups[@]}"
cmake -S . -B build/app -G Ninja -DCMAKE_BUILD_TYPE=Release -DDOSAT_TESTS=OFF -DDOSAT_BENCH=OFF
cmake --build build/app --target dosat

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display here: starting on a virtual X server (xvfb-run); stop it with Ctrl+C." >&2
  exec xvfb-run -a build/app/ui/dosat
fi
exec build/app/ui/dosat
