#!/usr/bin/env bash
# Installs what is missing and cross-compiles dosat.exe for Windows with MinGW-w64.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release --toolchain cmake/mingw-w64.cmake
cmake --build build/win --target dosat
echo "dosat.exe: $(pwd)/build/win/ui/dosat.exe"
