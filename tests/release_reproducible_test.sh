#!/usr/bin/env bash
# Builds the release a second time, from a source archive of the sources (git archive, as a
# forge's download gives them) unpacked in another folder, at another time, in another time
# zone and with another file mask, and checks that every file has the bytes of the release
# in DIST_DIR, BUILDINFO too. Then signs it with a throwaway certificate made here: the
# signatures verify against it, and without them the exes are those bytes again, the MSI
# the same tables.
#
# usage: release_reproducible_test.sh SOURCE_DIR DIST_DIR
set -euo pipefail

source=$(cd "$1" && pwd)
dist=$(cd "$2" && pwd)
source "$(dirname "$0")/checks.sh"
source "$source/release/buildinfo.sh"
release_made "$dist"

# The archive of the checkout's commit. With uncommitted changes or untracked files, which
# the first release was made from, of a commit of them made here, at the time of the commit
# they were made on, in the test's own object store. Its BUILDINFO names that commit and
# the first release's says it is not its commit's: all else must be the same.
copy=$work/elsewhere/dosat
mkdir -p "$copy"
changed=
if [[ -e $source/.git ]]; then
  git() { command git -c safe.directory="$source" -C "$source" "$@"; }
  [[ -z $(git status --porcelain) ]] || changed=yes
  head=$(git rev-parse HEAD)
  grep -q "^Commit: $head" "$dist/BUILDINFO" ||
    { echo "FAIL: $dist is not a release of $head, the checkout's commit: make it again" >&2; exit 1; }
  (
    commit=HEAD
    if [[ -n $changed ]]; then
      mkdir "$work/objects"
      objects=$(git rev-parse --path-format=absolute --git-common-dir)/objects
      export GIT_INDEX_FILE=$work/index GIT_OBJECT_DIRECTORY=$work/objects \
        GIT_ALTERNATE_OBJECT_DIRECTORIES=$objects
      git read-tree HEAD
      git add --all
      at="@$(git log -1 --format=%ct HEAD) +0000"
      commit=$(GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.org GIT_AUTHOR_DATE=$at \
        GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.org GIT_COMMITTER_DATE=$at \
        git commit-tree -p HEAD -m "the checkout as it stands" "$(git write-tree)")
    fi
    echo "the second release is made from git archive $commit" >&2
    git archive "$commit"
  ) | tar -x -C "$copy"
else
  # A source archive already: copied with its files' times.
  (cd "$source" && source_files . | xargs -0 cp --parents --no-dereference --preserve=timestamps -t "$copy")
  echo "the second release is made from a copy of this source archive"
fi

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
second=$copy/dist
if [[ -z $changed ]]; then
  diff -u "$dist/SHA256SUMS" "$second/SHA256SUMS" >&2 ||
    fail "the second release differs from the first (- first, + second)"
else
  grep -q '^Commit: .*, but NOT its sources' "$dist/BUILDINFO" ||
    fail "the first release does not say that it is not its commit's"
  diff -u <(grep -v ' BUILDINFO$' "$dist/SHA256SUMS") <(grep -v ' BUILDINFO$' "$second/SHA256SUMS") >&2 ||
    fail "the second release differs from the first (- first, + second)"
  diff -u <(grep -v '^Commit:' "$dist/BUILDINFO") <(grep -v '^Commit:' "$second/BUILDINFO") >&2 ||
    fail "the second release's BUILDINFO differs from the first's (- first, + second)"
fi
if ((failures == 0)); then
  echo "the second release has the same bytes${changed:+ but for the commit BUILDINFO names}:"
  sed 's/^/  /' "$second/SHA256SUMS"
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
