#!/usr/bin/env bash
# Runs msi_tests.exe under the build's wine on the release's MSI and on the same package
# made at a later version (the patch level plus one), from the 32-bit zip's files.
#
# usage: msi_test.sh DIST_DIR VERSION MSI_TESTS_EXE SOURCE_DIR
# CTest runs it through tools/wine-run.sh, which sets WINELOADER, WINEPREFIX and DISPLAY.
set -euo pipefail

dist=$1
version=$2
tests_exe=$3
source=$4
msi=$dist/dosat-$version-x86.msi
zip=$dist/dosat-$version-windows-x86.zip
source "$(dirname "$0")/../checks.sh"
release_made "$dist"
for file in "$msi" "$zip"; do
  [[ -f $file ]] || { echo "FAIL: no $file in the release" >&2; exit 1; }
done

later=${version%.*}.$((${version##*.} + 1))
unzip -q "$zip" -d "$work"
files=$work/dosat-$version
mkdir "$work/msi"
cp "$files"/* "$source/assets/dosat.ico" "$work/msi/"
/usr/bin/python3 "$source/release/make-msi.py" --version "$later" --source "$work/msi" \
  --epoch "$(date +%s)" --out "$work/dosat-$later-x86.msi"

windows() { "$WINELOADER" winepath -w "$1" 2>/dev/null; }
"$WINELOADER" "$tests_exe" "$(windows "$msi")" "$version" "$(windows "$work/dosat-$later-x86.msi")" \
  "$later" "$(windows "$files")"
