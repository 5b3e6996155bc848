#!/usr/bin/env bash
# What a release makes of the tree it is made from (release/buildinfo.sh, as tools/release.sh
# uses it): for each kind of tree, a source archive or a git checkout, as made or changed
# since, with SOURCE_DATE_EPOCH or without, the commit and the time BUILDINFO names, or that
# there is no time to make the release at. Then the package versions BUILDINFO gives:
# dpkg's, and another when dpkg has another.
#
# usage: buildinfo_test.sh SOURCE_DIR
set -euo pipefail

source=$(cd "$1" && pwd)
source "$(dirname "$0")/checks.sh"
source "$source/release/buildinfo.sh"

made=1700000000  # the commit's time, 2023-11-14 22:13:20 UTC
later=1700003600
hash=0123456789abcdef0123456789abcdef01234567

# archive DIR [STAMP]: a source archive as git archive unpacks it, every file at the commit's
# time, with the project's .gitignore and release/archive-commit written as STAMP.
archive() {
  mkdir -p "$1/release" "$1/calc"
  cp "$source/.gitignore" "$1/"
  printf '# the commit\n%s\n' "${2-$hash $made}" >"$1/release/archive-commit"
  echo 'int main() {}' >"$1/calc/main.cpp"
  echo dosat >"$1/README.md"
  find "$1" -exec touch -h -d "@$made" {} +
}
# checkout DIR: the same files committed at that time.
checkout() {
  archive "$1" '$Format:%H %ct$'
  local at="@$made +0000"
  git -C "$1" init -q
  git -C "$1" add --all
  GIT_AUTHOR_DATE=$at GIT_COMMITTER_DATE=$at \
    git -C "$1" -c user.name=test -c user.email=test@example.org commit -q -m test
}

# What a release of DIR says: BUILDINFO's commit and SOURCE_DATE_EPOCH, "|"-separated, or
# "no time" when it stops.
release_of() {  # release_of DIR [SOURCE_DATE_EPOCH]
  (
    unset SOURCE_DATE_EPOCH
    [[ -z ${2:-} ]] || export SOURCE_DATE_EPOCH=$2
    release_source "$1" || { echo "no time"; exit; }
    write_buildinfo 1.0.0 "$release_time" dpkg |
      sed -n 's/^Commit: //p; s/^Source-Date-Epoch: \([0-9]*\) .*/\1/p' | paste -sd '|'
  )
}

n=0
row() {  # row NAME TREE SETUP SOURCE_DATE_EPOCH EXPECTED: TREE is archive or checkout
  local dir=$work/tree$((n += 1)) got
  "$2" "$dir"
  (cd "$dir" && eval "$3")
  got=$(release_of "$dir" "$4")
  [[ $got == "$5" ]] || fail "$1: $got"$'\n'"  expected: $5"
}

not_its="but NOT its sources"
changed_after="files were changed after the archive was made (the newest: calc/main.cpp, 2023-11-14 23:13:20 UTC)"
row "an archive as unpacked" archive : '' "$hash|$made"
row "an archive with build output, a release and Python's caches" archive \
  "mkdir -p build/app dist calc/__pycache__ && touch build/app/dosat dist/BUILDINFO calc/__pycache__/x.pyc" \
  '' "$hash|$made"
row "an archive with a file changed since" archive "touch -d @$later calc/main.cpp" '' "no time"
row "an archive with a file changed since, SOURCE_DATE_EPOCH given" archive \
  "touch -d @$later calc/main.cpp" "$later" "$hash, $not_its: $changed_after|$later"
row "an archive unpacked without its times" archive "find . -exec touch -d @$later {} +" '' "no time"
row "an archive unpacked without its times, SOURCE_DATE_EPOCH given" archive \
  "find . -exec touch -d @$later {} +" "$made" \
  "$hash, $not_its: the files' time (2023-11-14 23:13:20 UTC) is not the commit's (2023-11-14 22:13:20 UTC)|$made"
row "an archive that names no commit" archive "echo '\$Format:%H %ct\$' >release/archive-commit &&
  touch -d @$made release/archive-commit" '' "unknown|$made"
row "an archive, SOURCE_DATE_EPOCH given" archive : "$later" "$hash|$later"
if command -v git >/dev/null; then
  head=$(checkout "$work/head" && git -C "$work/head" rev-parse HEAD)
  dirty="$head, $not_its: the checkout has uncommitted changes or untracked files"
  row "a checkout" checkout "mkdir build && touch build/x" '' "$head|$made"
  row "a checkout with a change" checkout "echo '// x' >>calc/main.cpp" '' "$dirty|$made"
  row "a checkout with a change, SOURCE_DATE_EPOCH given" checkout "echo '// x' >>calc/main.cpp" \
    "$later" "$dirty|$later"
  row "a checkout with an untracked file" checkout "touch calc/new.cpp" '' "$dirty|$made"
else
  echo "no git here: the checkouts are not tried"
fi

# ---- the package versions: dpkg's, and another one when dpkg says so ----
admin=${DPKG_ADMINDIR:-/var/lib/dpkg}
zip=$(dpkg-query -W -f='${Version}' zip)
buildinfo=$(write_buildinfo 1.0.0 "$made" zip dpkg)
grep -qxF " zip (= $zip)" <(tr -d , <<<"$buildinfo") || fail "BUILDINFO does not give zip $zip:"$'\n'"$buildinfo"
mkdir -p "$work/dpkg/updates"
cp "$admin/status" "$work/dpkg/"
[[ ! -f $admin/arch ]] || cp "$admin/arch" "$work/dpkg/"
sed -i "/^Package: zip$/,/^$/ s/^Version: .*/Version: $zip+1/" "$work/dpkg/status"
newer=$(DPKG_ADMINDIR=$work/dpkg write_buildinfo 1.0.0 "$made" zip dpkg)
[[ $newer == "${buildinfo/ zip (= $zip)/ zip (= $zip+1)}" ]] ||
  fail "with zip $zip+1 installed, BUILDINFO is:"$'\n'"$newer"
write_buildinfo 1.0.0 "$made" zip dosat-no-such-package >/dev/null 2>&1 &&
  fail "BUILDINFO is written with a package that is not installed"

passed "the commit and time of $n trees, and the package versions of BUILDINFO"
