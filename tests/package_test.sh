#!/usr/bin/env bash
# Checks the Debian package of a release (tools/release.sh) as a user gets it: the program,
# its menu entry, icon, metadata, licence, changelog and manual page, the packages it needs,
# and what lintian says of it.
#
# usage: package_test.sh DEB PROJECT_VERSION LICENSE
set -euo pipefail

deb=$1
version=$2
licence=$3
source "$(dirname "$0")/checks.sh"
release_made "$(dirname "$deb")"
[[ -f $deb ]] || { echo "FAIL: no $deb in the release" >&2; exit 1; }

echo "package: $(basename "$deb")"

# ---- contents: exactly these files, nothing a stray install() rule adds ----
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort >"$work/files"
cat >"$work/want" <<'EOF'
-rw-r--r-- ./usr/share/applications/org.example.dosat.desktop
-rw-r--r-- ./usr/share/doc/dosat/changelog.gz
-rw-r--r-- ./usr/share/doc/dosat/copyright
-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/dosat.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/dosat.svg
-rw-r--r-- ./usr/share/man/man1/dosat.1.gz
-rw-r--r-- ./usr/share/metainfo/org.example.dosat.metainfo.xml
-rwxr-xr-x ./usr/bin/dosat
EOF
sort -o "$work/want" "$work/want"
if ! diff -u "$work/want" "$work/files" >&2; then
  fail "package contents (- expected, + found)"
fi

# ---- control fields ----
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == dosat ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version), project is $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture: $(field Architecture)"
[[ $(field Section) == science ]] || fail "Section: $(field Section)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"

depends=$(field Depends)
echo "Depends: $depends"
# One relation per line, "name (op version)", alternatives not used.
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ *$//' >"$work/depends"
has() { awk -v n="$1" '$1 == n { found = 1 } END { exit !found }' "$work/depends"; }
# The windows use what Qt 6.4 brought; the symbols alone would let older Qt through.
grep -qxF 'libqt6widgets6 (>= 6.4)' "$work/depends" || fail "Depends lacks libqt6widgets6 (>= 6.4)"
for name in libqt6widgets6 libqt6gui6 libqt6core6 fonts-ipafont-gothic libc6 libstdc++6; do
  has "$name" || fail "Depends lacks $name"
done

# ---- the installed files ----
dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin/dosat

# Every library the program loads comes from a package it depends on.
while read -r soname; do
  # The whole cache is read (no early exit), or ldconfig dies of SIGPIPE under pipefail.
  path=$(ldconfig -p | awk -v s="$soname" '$1 == s && /x86-64/ && !p { p = $NF } END { print p }')
  if [[ -z $path ]]; then
    fail "$soname: not found on this machine"
    continue
  fi
  # dpkg knows a file by the path its package ships, /lib/... or /usr/lib/...
  owner=$(dpkg -S "$path" "$(readlink -f "$path")" 2>/dev/null | sed -n '1s/:.*//p') || true
  if [[ -z $owner ]]; then
    fail "$soname ($path): no package owns it"
  elif ! has "$owner"; then
    fail "$soname comes from $owner, which Depends does not name"
  fi
done < <(objdump -p "$bin" | awk '$1 == "NEEDED" { print $2 }')

# Nothing points back into the build tree, and no debugging data is shipped.
if readelf -d "$bin" | grep -E 'RPATH|RUNPATH' >&2; then
  fail "bin/dosat carries a library search path"
fi
if readelf -S "$bin" | grep -q '\.debug_info'; then
  fail "bin/dosat is not stripped"
fi

desktop=$work/root/usr/share/applications/org.example.dosat.desktop
# Errors fail it; hints (two main categories, on purpose) only print.
if ! desktop-file-validate "$desktop" >"$work/validate.log" 2>&1; then
  cat "$work/validate.log" >&2
  fail "dosat.desktop does not validate"
fi
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x $work/root/usr/bin/$exec_name ]] || fail "Exec=$exec_name is not the installed program"
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[[ $icon_name == dosat ]] || fail "Icon=$icon_name"

# Icon themes trust the folder name: a 128x128 folder must hold a 128x128 picture.
png=$work/root/usr/share/icons/hicolor/128x128/apps/$icon_name.png
if [[ -f $png ]]; then
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  height=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [[ $width == 128 && $height == 128 ]] || fail "$icon_name.png is ${width}x$height in the 128x128 folder"
fi
svg=$work/root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg
[[ -f $svg ]] && { grep -q '<svg' "$svg" || fail "$icon_name.svg is not an SVG picture"; }

# ---- the metadata software centres read ----
metainfo=$work/root/usr/share/metainfo/org.example.dosat.metainfo.xml
# No error and no warning, but the one for a homepage, which AppStream 1.0 (Debian 13)
# asks for and the program has none to name.
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1 || true
if grep -E '^[EW]: ' "$work/appstream.log" | grep -v ': url-homepage-missing$' >&2 ||
  ! grep -Eq '^(✔ )?Validation was successful|^\? Validation failed: warnings: 1(,|$)' "$work/appstream.log"; then
  cat "$work/appstream.log" >&2
  fail "the AppStream metadata does not validate"
fi
# Its id names the desktop file, and its newest release is this version.
grep -q '<launchable type="desktop-id">org.example.dosat.desktop</launchable>' "$metainfo" ||
  fail "the metadata does not launch org.example.dosat.desktop"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "the metadata's newest release is $newest, the package $version"

# ---- licence and changelog, where and as Debian's policy puts them ----
copyright=$work/root/usr/share/doc/dosat/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  fail "copyright is not in the machine-readable format"
# The Expat terms are those of LICENSE, word for word.
terms=$(awk '/^License: Expat$/ { from = NR } { line[NR] = $0 } END { for (i = from + 1; i <= NR; i++) print line[i] }' \
  "$copyright" | sed 's/^ //; s/^\.$//')
diff <(printf '%s\n' "$terms") <(sed -n '/^Permission/,$p' "$licence") >&2 ||
  fail "the licence terms in copyright differ from LICENSE"
grep -q "^dosat ($version) " <(zcat "$work/root/usr/share/doc/dosat/changelog.gz") ||
  fail "changelog.gz does not start with version $version"
# gzip -n: no name or time in the header (bytes 4 to 9: flags and time).
for gz in "$work/root/usr/share/doc/dosat/changelog.gz" "$work/root/usr/share/man/man1/dosat.1.gz"; do
  [[ $(od -An -tx1 -j3 -N5 "$gz" | tr -d ' ') == 0000000000 ]] || fail "$(basename "$gz") has a name or time stamp"
done

# ---- lintian: no error; the warnings are printed ----
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian reports errors"
grep -v 'running with root privileges' "$work/lintian.log" >&2 || true

passed "package ok"
