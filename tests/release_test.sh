#!/usr/bin/env bash
# Checks the release tools/release.sh wrote: the files and their checksums, what each zip
# holds and how, what the MSI says of itself, and the package versions BUILDINFO gives.
#
# usage: release_test.sh DIST_DIR PROJECT_VERSION SOURCE_DIR
set -euo pipefail

dist=$1
version=$2
source=$3
name=dosat-$version
source "$(dirname "$0")/checks.sh"

release_made "$dist"

files=("$name-windows-x86.zip" "$name-windows-x64.zip" "$name-x86.msi" "dosat_${version}_amd64.deb"
  "$name-web.zip" BUILDINFO)
for file in "${files[@]}"; do
  [[ -f $dist/$file ]] || { echo "FAIL: no $dist/$file" >&2; exit 1; }
done
# Exactly these files, and a checksum line for each but SHA256SUMS itself.
diff -u <(printf '%s\n' "${files[@]}" SHA256SUMS | sort) <(ls -A "$dist" | sort) >&2 ||
  fail "dist holds other files (- expected, + found)"
diff -u <(printf '%s\n' "${files[@]}" | sort) <(awk '{ print $2 }' "$dist/SHA256SUMS" | sort) >&2 ||
  fail "SHA256SUMS does not list each file once"
(cd "$dist" && sha256sum --check --strict --quiet SHA256SUMS) >&2 || fail "sha256sum -c SHA256SUMS"

crlf_only() {  # every line ends in CRLF, the last one included
  [[ $(tail -c 2 "$1" | od -An -tx1 | tr -d ' ') == 0d0a ]] && ! grep -q $'[^\r]$\|^$' "$1"
}

for arch in x86 x64; do
  zip=$dist/$name-windows-$arch.zip
  # The entries, in this order, with ASCII names only (Windows 7's zip folder garbles any
  # other), each with no extra field and the same time.
  listed=$(unzip -Z1 "$zip")
  want=$(printf '%s\n' "$name/" "$name/dosat.exe" "$name/readme.txt" "$name/LICENSE.txt")
  [[ $listed == "$want" ]] || fail "$arch zip holds:"$'\n'"$listed"
  LC_ALL=C grep -q '[^ -~]' <<<"$listed" && fail "$arch zip: a name that is not ASCII"
  extras=$(unzip -Zv "$zip" | awk '/length of extra field:/ && $5 != 0' | wc -l)
  ((extras == 0)) || fail "$arch zip: $extras entries carry extra fields"
  times=$(unzip -Zl -T "$zip" | awk '$1 ~ /^[-d]/ { print $(NF - 1) }' | sort -u | wc -l)
  ((times == 1)) || fail "$arch zip: the entries have $times different times"

  mkdir -p "$work/$arch"
  unzip -q "$zip" -d "$work/$arch"
  folder=$work/$arch/$name
  # The exe of the zip's processor, a GUI program (file 5.44 says "PE32 executable (GUI)
  # Intel 80386", 5.46 "PE32 executable for MS Windows 5.01 (GUI), Intel i386").
  case $arch in
    x86) format='^PE32 executable .*\(GUI\),? Intel (80386|i386)' ;;
    x64) format='^PE32\+ executable .*\(GUI\),? x86-64' ;;
  esac
  file -b "$folder/dosat.exe" | grep -Eq "$format" || fail "$arch zip: dosat.exe is $(file -b "$folder/dosat.exe")"

  # The guide as Notepad reads it on Windows 7 and 11: UTF-8 with a byte-order mark, CRLF.
  readme=$folder/readme.txt
  [[ $(head -c 3 "$readme" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$arch readme.txt: no UTF-8 byte-order mark"
  crlf_only "$readme" || fail "$arch readme.txt: a line that does not end in CRLF"
  iconv -f UTF-8 -t UTF-16 "$readme" >/dev/null 2>&1 || fail "$arch readme.txt: not UTF-8"
  grep -q '@VERSION@' "$readme" && fail "$arch readme.txt: @VERSION@ left in it"
  head -1 "$readme" | grep -q "dosat $version " || fail "$arch readme.txt: the title does not name version $version"
  # The licence as it stands in the repository, with CRLF line ends.
  cmp -s "$folder/LICENSE.txt" <(sed 's/$/\r/' "$source/LICENSE") || fail "$arch LICENSE.txt is not LICENSE with CRLF"
done
cmp -s "$work/x86/$name/readme.txt" "$work/x64/$name/readme.txt" || fail "the zips' guides differ"

# The web edition: its folder's files in this order, as the other zips hold theirs; the
# page whole in itself, under a policy that allows it no request; the same guide.
zip=$dist/$name-web.zip
listed=$(unzip -Z1 "$zip")
want=$(printf "$name-web/%s\n" "" dosat.html manifest.webmanifest sw.js dosat-192.png dosat-512.png readme.txt LICENSE.txt)
[[ $listed == "$want" ]] || fail "web zip holds:"$'\n'"$listed"
extras=$(unzip -Zv "$zip" | awk '/length of extra field:/ && $5 != 0' | wc -l)
((extras == 0)) || fail "web zip: $extras entries carry extra fields"
times=$(unzip -Zl -T "$zip" | awk '$1 ~ /^[-d]/ { print $(NF - 1) }' | sort -u | wc -l)
((times == 1)) || fail "web zip: the entries have $times different times"
unzip -q "$zip" -d "$work/web"
web=$work/web/$name-web
grep -q "content=\"default-src 'none'; script-src 'sha256-" "$web/dosat.html" ||
  fail "dosat.html: no Content-Security-Policy that starts from default-src 'none'"
grep -Eq '(src|href)="(https?:)?//' "$web/dosat.html" && fail "dosat.html names another address"
cmp -s "$web/readme.txt" "$work/x86/$name/readme.txt" || fail "the web zip's guide differs from the others'"
/usr/bin/python3 -m json.tool "$web/manifest.webmanifest" >/dev/null || fail "manifest.webmanifest is not JSON"

# The installer: its version, its files, an ASCII shortcut name, a per-machine install.
msi=$dist/$name-x86.msi
property() { msiinfo export "$msi" Property | awk -F '\t' -v p="$1" '$1 == p { print $2 }' | tr -d '\r'; }
[[ $(property ProductVersion) == "$version" ]] || fail "MSI ProductVersion $(property ProductVersion)"
[[ $(property ALLUSERS) == 1 ]] || fail "MSI is not per machine (ALLUSERS $(property ALLUSERS))"
installed=$(msiinfo export "$msi" File | awk -F '\t' 'NR > 3 { print $3 }' | tr -d '\r' | sort | paste -sd ' ')
[[ $installed == 'LICENSE.txt dosat.exe readme.txt' ]] || fail "MSI installs: $installed"
shortcut=$(msiinfo export "$msi" Shortcut | awk -F '\t' 'NR > 3 { print $3 }' | tr -d '\r')
[[ $shortcut == dosat ]] || fail "MSI shortcut name: '$shortcut'"

# BUILDINFO: each package at the version dpkg gives for this machine's architecture (or
# none), and among them the compilers of the four builds, Qt, CMake, dpkg and wixl.
buildinfo=$dist/BUILDINFO
arch=$(dpkg --print-architecture)
sed -n '/^Build-Packages:$/,$ { s/^ \([^ ]*\) (= \(.*\)),\?$/\1 \2/p }' "$buildinfo" >"$work/listed"
while read -r package listed; do
  installed=$(dpkg-query -W -f='${Architecture} ${Version}\n' "$package" 2>/dev/null |
    awk -v arch="$arch" '$1 == arch || $1 == "all" { print $2 }') || true
  [[ $listed == "$installed" ]] || fail "BUILDINFO: $package $listed, dpkg: '$installed'"
done <"$work/listed"
for package in 'g\+\+-mingw-w64-i686-[a-z0-9]+' 'g\+\+-mingw-w64-x86-64-[a-z0-9]+' 'g\+\+-[0-9]+(-x86-64-linux-gnu)?' \
  binutils-mingw-w64-i686 binutils-x86-64-linux-gnu mingw-w64-i686-dev qt6-base-dev libqt6widgets6 \
  cmake dpkg-dev zip wixl emscripten 'clang-[0-9]+' 'lld-[0-9]+' binaryen nodejs 'python3\.[0-9]+-minimal'; do
  grep -Eq "^$package " "$work/listed" || fail "BUILDINFO lists no $package"
done
grep -q "^Version: $version$" "$buildinfo" || fail "BUILDINFO: not version $version"

passed "release ok: ${files[*]}"
