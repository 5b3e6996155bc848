#!/usr/bin/env bash
# Installs what is missing, builds the program from this checkout and makes a release in
# dist/:
#
#   dosat-VERSION-windows-x86.zip   the 32-bit dosat.exe, readme.txt (the guide), LICENSE.txt
#   dosat-VERSION-windows-x64.zip   the same with the 64-bit dosat.exe
#   dosat-VERSION-x86.msi           the 32-bit dosat.exe, installed per machine
#   dosat_VERSION_amd64.deb         the Linux program
#   dosat-VERSION-web.zip           the web edition: dosat.html, its web app's manifest,
#                                   service worker and icons, readme.txt, LICENSE.txt
#   BUILDINFO                       what it is made from and with: the commit, its time,
#                                   and the Debian package versions of the tools
#   SHA256SUMS                      a line for each of them, for sha256sum -c
#
# Every file is made from the commit's time and nothing else of the machine or the moment,
# so that a release built again from the same commit, with the same package versions,
# anywhere, has the same bytes. That time is git's in a checkout; in a source archive
# without git (git archive, a forge's download), its files' time, which is the commit's.
# SOURCE_DATE_EPOCH, when set, is taken instead. A tree that is not the commit's as it was
# committed (uncommitted changes, or files changed after the archive was made) gives a
# release marked, in BUILDINFO too, as NOT the commit's. With DOSAT_SIGN_PKCS12 (a PKCS#12
# file) and DOSAT_SIGN_PASSWORD (its password) set, both exes and the MSI are signed with
# Authenticode at that same time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash tools/install-deps.sh program windows web release
source release/buildinfo.sh

if ! release_source .; then
  echo "release.sh: $source_problem" >&2
  [[ -n ${SOURCE_DATE_EPOCH:-} ]] ||
    echo "release.sh: no time to make the release at: set SOURCE_DATE_EPOCH (seconds since 1970)" >&2
  exit 1
fi
SOURCE_DATE_EPOCH=$release_time
not_the_commit() {
  [[ -z $source_changed ]] || echo "release.sh: this release is NOT the commit's: $source_changed" >&2
}
not_the_commit
export SOURCE_DATE_EPOCH
# Whatever the caller's time zone, locale and file mask: zip writes local times, and the
# files' modes go into the archives.
export TZ=UTC LC_ALL=C.UTF-8
umask 022

signing=
if [[ -n ${DOSAT_SIGN_PKCS12:-} || -n ${DOSAT_SIGN_PASSWORD:-} ]]; then
  [[ -r ${DOSAT_SIGN_PKCS12:-} && -n ${DOSAT_SIGN_PASSWORD:-} ]] ||
    { echo "release.sh: signing needs both DOSAT_SIGN_PKCS12 (a readable file) and DOSAT_SIGN_PASSWORD" >&2; exit 1; }
  signing=yes
fi

# Built afresh each time: the time stamps the commit's time gives (the exes' headers, the
# compiled-in resources) are not what the build tools see change, and a file left from
# an earlier commit's build would keep that commit's.
build=build/release
rm -rf "$build"
# Paths into the build trees appear nowhere in what is built from them.
prefix_map="-ffile-prefix-map=$root=."
configure() {  # configure DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DDOSAT_TESTS=OFF -DDOSAT_BENCH=OFF "$@" >/dev/null
}
configure win32 --toolchain cmake/mingw-w64-i686.cmake -DCMAKE_CXX_FLAGS="$prefix_map"
configure win64 --toolchain cmake/mingw-w64.cmake -DCMAKE_CXX_FLAGS="$prefix_map"
# Debian's hardening flags, as a Debian package is built with.
configure linux \
  -DCMAKE_CXX_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) \
$(dpkg-buildflags --get CPPFLAGS) $prefix_map" \
  -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
# The web edition with Debian's Emscripten.
configure web --toolchain cmake/emscripten.cmake -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_CXX_FLAGS="$prefix_map"
for dir in win32 win64 linux web; do
  cmake --build "$build/$dir" --parallel "$(nproc)"
done

version=$(sed -n 's/^#define DOSAT_VERSION "\(.*\)"$/\1/p' "$build/linux/version/dosat-version.h")
[[ -n $version ]] || { echo "release.sh: no version in $build/linux/version/dosat-version.h" >&2; exit 1; }
name=dosat-$version

sign() {  # sign IN OUT
  if [[ -n $signing ]]; then
    # The password through a pipe, not on the command line that any user can list.
    osslsigncode sign -pkcs12 "$DOSAT_SIGN_PKCS12" -readpass <(printf '%s' "$DOSAT_SIGN_PASSWORD") \
      -h sha256 -n dosat -time "$SOURCE_DATE_EPOCH" -in "$1" -out "$2" >/dev/null
  else
    cp "$1" "$2"
  fi
}

# What users read, as Notepad on Windows 7 and on Windows 11 both read it: UTF-8 with a
# byte-order mark, CRLF line ends.
windows_text() {  # windows_text IN OUT
  { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"; } >"$2"
}

stage=$build/stage
rm -rf dist
mkdir -p "$stage" dist
for arch in x86 x64; do
  folder=$stage/$arch/$name
  mkdir -p "$folder"
  case $arch in
    x86) sign "$build/win32/ui/dosat.exe" "$folder/dosat.exe" ;;
    x64) sign "$build/win64/ui/dosat.exe" "$folder/dosat.exe" ;;
  esac
  windows_text release/readme-ja.txt "$folder/readme.txt"
  sed 's/$/\r/' LICENSE >"$folder/LICENSE.txt"
  # Fixed modes and times, and no extra fields (-X: no Unix owners or extended times);
  # the entries in this order.
  chmod 755 "$folder"
  chmod 644 "$folder"/*
  touch --no-dereference -d "@$SOURCE_DATE_EPOCH" "$folder"/* "$folder"
  (cd "$stage/$arch" && zip -X -9 -q "$root/dist/$name-windows-$arch.zip" \
    "$name/" "$name/dosat.exe" "$name/readme.txt" "$name/LICENSE.txt")
done

msi_source=$stage/msi
mkdir -p "$msi_source"
cp "$stage/x86/$name"/* assets/dosat.ico "$msi_source/"
touch -d "@$SOURCE_DATE_EPOCH" "$msi_source"/*
/usr/bin/python3 release/make-msi.py --version "$version" --source "$msi_source" \
  --epoch "$SOURCE_DATE_EPOCH" --out "$stage/$name-x86.msi"
sign "$stage/$name-x86.msi" "dist/$name-x86.msi"

# The web edition's folder, as the Windows ones: what a browser opens and a web server
# serves, and the guide.
folder=$stage/web/$name-web
mkdir -p "$folder"
cp "$build/web/web/dosat.html" "$build/web/web/manifest.webmanifest" "$build/web/web/sw.js" \
  "$build/web/web/dosat-192.png" "$build/web/web/dosat-512.png" "$folder/"
windows_text release/readme-ja.txt "$folder/readme.txt"
sed 's/$/\r/' LICENSE >"$folder/LICENSE.txt"
chmod 755 "$folder"
chmod 644 "$folder"/*
touch --no-dereference -d "@$SOURCE_DATE_EPOCH" "$folder"/* "$folder"
(cd "$stage/web" && zip -X -9 -q "$root/dist/$name-web.zip" "$name-web/" "$name-web/dosat.html" \
  "$name-web/manifest.webmanifest" "$name-web/sw.js" "$name-web/dosat-192.png" "$name-web/dosat-512.png" \
  "$name-web/readme.txt" "$name-web/LICENSE.txt")

# CPack takes the package's times from SOURCE_DATE_EPOCH.
(cd "$build/linux" && cpack -G DEB -B "$root/$build/deb" >/dev/null)
cp "$build/deb/dosat_${version}_amd64.deb" dist/

# What shapes the bytes beside the builds' compilers, headers and libraries: CMake and
# CPack, Qt's code generators, Debian's build flags and library dependencies, zip, gzip,
# msitools' wixl and the Python that finishes the MSI, the compression libraries; the
# signing tool when signing. The web edition's compiler is Emscripten, which runs clang,
# wasm-ld, binaryen's optimiser and node with its acorn; its page is put together by Python.
# The libraries among them (the archive and compression libraries CMake and CPack use,
# msitools'), Python and the LLVM that Emscripten runs are found by the files used: each
# Debian release names their packages its own way (libarchive13 or libarchive13t64,
# libmsi0 or libmsi-1.0-0, clang-14 or clang-19).
tools=(cmake cmake-data qt6-base-dev-tools dpkg dpkg-dev libdpkg-perl zip gzip
  wixl wixl-data python3-olefile emscripten binaryen nodejs node-acorn)
[[ -z $signing ]] || tools+=(osslsigncode)
built=$(build_packages "$build/win32" "$build/win64" "$build/linux" "$build/web")
used=$({
  tool_libraries cmake cpack wixl
  web_tool_files
  # OpenSSL's library, which signs (libssl3, or libssl3t64 on Debian 13)
  [[ -z $signing ]] || ldd "$(command -v osslsigncode)" | awk '$3 ~ /\/libssl\.so/ { print $3 }'
} | packages_of_files | sort -u)
# shellcheck disable=SC2086 # one package name a line
write_buildinfo "$version" "$SOURCE_DATE_EPOCH" "${tools[@]}" $built $used >dist/BUILDINFO

(cd dist && sha256sum -- "$name-windows-x86.zip" "$name-windows-x64.zip" "$name-x86.msi" \
  "dosat_${version}_amd64.deb" "$name-web.zip" BUILDINFO >SHA256SUMS)

echo "The release of dosat $version, from commit ${source_commit:-unknown}, at" \
  "$(utc "$SOURCE_DATE_EPOCH"): the time is $time_from."
(cd dist && ls -l --time-style=+ -- * | awk '{ printf "  %-32s %9d bytes\n", $NF, $5 }')
if [[ -n $signing ]]; then
  echo "dosat.exe (both) and the MSI are signed with $DOSAT_SIGN_PKCS12."
else
  echo "The files are NOT signed: set DOSAT_SIGN_PKCS12 and DOSAT_SIGN_PASSWORD to sign them."
fi
not_the_commit
