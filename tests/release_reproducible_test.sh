#!/usr/bin/env bash
# Builds the release a second time, from a copy of the sources in another folder, at
# another time, in another time zone and with another file mask, and checks that every
# file has the bytes of the release in DIST_DIR. Then signs it with a throwaway
# certificate made here: the signatures verify against it, and without them the exes are
# those bytes again, the MSI the same tables.
#
# usage: release_reproducible_test.sh SOURCE_DIR DIST_DIR
set -euo pipefail

source=$(cd "$1" && pwd)
dist=$(cd "$2" && pwd)
source "$(dirname "$0")/checks.sh"
[[ -f $dist/SHA256SUMS ]] || { echo "FAIL: no release in $dist: make it first (bash tools/release.sh)" >&2; exit 1; }

# The sources as they stand in the checkout (uncommitted changes too), without its build
# folders; the time of the commit they are.
copy=$work/elsewhere/dosat
mkdir -p "$copy"
git() { command git -c safe.directory="$source" -C "$source" "$@"; }
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents --no-dereference -t "$copy")
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

release() {  # release LOG [VAR=VALUE...]: the release of the copy, made as a user might
  local log=$1
  shift
  if ! (cd "$copy" && umask 077 && env TZ=Pacific/Kiritimati LC_ALL=ja_JP.UTF-8 "$@" \
    bash tools/release.sh >"$log" 2>&1); then
    cat "$log" >&2
    echo "FAIL: tools/release.sh in $copy" >&2
    exit 1
  fi
}
release "$work/release.log"
if diff -u "$dist/SHA256SUMS" "$copy/dist/SHA256SUMS" >&2; then
  echo "the second release has the same bytes:"
  sed 's/^/  /' "$copy/dist/SHA256SUMS"
else
  fail "the second release differs from the first (- first, + second)"
fi
grep -q 'NOT signed' "$work/release.log" || fail "an unsigned release does not say that it is unsigned"
cp -a "$copy/dist" "$work/unsigned"

# ---- signed with a throwaway certificate ----
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=dosat test signing" -days 2 \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signing.p12" \
  -passout pass:throwaway
release "$work/signed.log" DOSAT_SIGN_PKCS12="$work/signing.p12" DOSAT_SIGN_PASSWORD=throwaway
grep -q 'NOT signed' "$work/signed.log" && fail "a signed release says it is unsigned"
signed=$copy/dist
(cd "$signed" && sha256sum --check --strict --quiet SHA256SUMS) >&2 || fail "signed release: sha256sum -c"

# Every table and stream of an MSI, and its summary but for the package code. In DIR: an
# export of a table with binary columns writes them into a folder beside it.
msi_dump() {  # msi_dump MSI DIR
  mkdir -p "$2"
  (
    cd "$2"
    msiinfo suminfo "$1" | grep -v '^Revision number' >suminfo
    msiinfo tables "$1" | grep -v '^_' | while read -r table; do msiinfo export "$1" "$table" >"$table.idt"; done
    msiinfo streams "$1" | grep -v $'^\x05' | sort | while read -r stream; do
      msiinfo extract "$1" "$stream" >"stream-$stream"
    done
  )
}

name=$(basename "$dist"/dosat-*-x86.msi -x86.msi)
for arch in x86 x64; do
  mkdir -p "$work/$arch"
  unzip -q "$signed/$name-windows-$arch.zip" -d "$work/$arch/signed"
  unzip -q "$dist/$name-windows-$arch.zip" -d "$work/$arch/first"
  exe=$work/$arch/signed/$name/dosat.exe
  osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log" >&2; fail "$arch dosat.exe: the signature does not verify"; }
  osslsigncode remove-signature -in "$exe" -out "$work/$arch/unsigned.exe" >/dev/null
  cmp -s "$work/$arch/unsigned.exe" "$work/$arch/first/$name/dosat.exe" ||
    fail "$arch dosat.exe without its signature is not the unsigned exe"
done
msi=$signed/$name-x86.msi
osslsigncode verify -CAfile "$work/cert.pem" -in "$msi" >"$work/verify.log" 2>&1 ||
  { cat "$work/verify.log" >&2; fail "the MSI's signature does not verify"; }
# osslsigncode writes the MSI's container anew: the bytes differ, not what it holds. It is
# compared with the MSI the same release signed (the one holding the signed exe).
osslsigncode remove-signature -in "$msi" -out "$work/unsigned.msi" >/dev/null
msi_dump "$work/unsigned.msi" "$work/msi-removed"
msi_dump "$copy/build/release/stage/$name-x86.msi" "$work/msi-unsigned"
diff -r "$work/msi-unsigned" "$work/msi-removed" >/dev/null ||
  fail "the MSI without its signature does not hold what the unsigned MSI holds"

passed "reproducible, and signed as it should be"
