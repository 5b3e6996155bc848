#!/usr/bin/env bash
# Installs what is missing and cross-compiles dosat.exe for Windows with MinGW-w64, the
# 32-bit one and the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh program windows
for dir in build/win32 build/win; do
  bash tools/cross-build.sh "$dir" --target dosat
done
echo "dosat.exe, 32-bit: $(pwd)/build/win32/ui/dosat.exe"
echo "dosat.exe, 64-bit: $(pwd)/build/win/ui/dosat.exe"
