#!/usr/bin/env bash
# Installs what is missing, builds everything with clang (the sanitized tests
# and the fuzz target included) and runs the whole test suite through CTest;
# then the same for the Windows build, cross-compiled and run under wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DDOSAT_SANITIZE=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

# The Windows build, cross-compiled with MinGW-w64; its tests run under wine on an Xvfb.
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release --toolchain cmake/mingw-w64.cmake
cmake --build build/win --parallel "$(nproc)"
ctest --test-dir build/win --output-on-failure
