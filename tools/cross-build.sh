#!/usr/bin/env bash
# Configures and builds one Windows build folder with its MinGW-w64 toolchain:
#
#   tools/cross-build.sh build/win|build/win32 [cmake --build options...]
#
# build/win is the 64-bit build, build/win32 the 32-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
(($#)) || { echo "usage: cross-build.sh build/win|build/win32 [cmake --build options...]" >&2; exit 2; }
dir=$1
shift
case $dir in
  build/win) toolchain=cmake/mingw-w64.cmake ;;
  build/win32) toolchain=cmake/mingw-w64-i686.cmake ;;
  *) echo "cross-build.sh: no toolchain for $dir" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release --toolchain "$toolchain"
cmake --build "$dir" "$@"
