#!/usr/bin/env bash
# Installs what is missing, builds everything with clang (the sanitized tests
# and the fuzz target included), the Windows builds, 64- and 32-bit, cross-compiled,
# the web edition with Emscripten, and a release in dist/; then runs the whole test
# suite through CTest, the Windows builds' tests under wine, the web edition's in
# Chromium, WebKit and Firefox.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DDOSAT_SANITIZE=ON
cmake --build build/test
# The Windows builds, cross-compiled with MinGW-w64.
for dir in build/win build/win32; do
  bash tools/cross-build.sh "$dir" --parallel "$(nproc)"
done
# The web edition; its browser tests open the release's page.
cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel --toolchain cmake/emscripten.cmake
cmake --build build/web
# A release in dist/, which the tests of both check: its files, its Debian package, a
# second release built elsewhere, and its MSI under wine.
bash tools/release.sh

status=0
ctest --test-dir build/test --output-on-failure -j "$(nproc)" || status=$?

# The Windows builds' tests run under wine on an Xvfb, the 32-bit build's in a 32-bit
# prefix as on 32-bit Windows. The two builds' tests run side by side, each with its own
# prefix and X server: they spend most of their time waiting for wine and X. The web
# edition's browser tests run beside them. Each is tested even when another fails, the
# Linux build's too.
log=build/win/ctest.log
ctest --test-dir build/win --output-on-failure >"$log" 2>&1 &
win64=$!
weblog=build/web/ctest.log
ctest --test-dir build/web --output-on-failure >"$weblog" 2>&1 &
web=$!
ctest --test-dir build/win32 --output-on-failure || status=$?
wait "$win64" || status=$?
wait "$web" || status=$?
echo "---- the 64-bit Windows build's tests ($log)"
cat "$log"
echo "---- the web edition's tests ($weblog)"
cat "$weblog"
exit "$status"
