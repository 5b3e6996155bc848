# What the shell tests share, sourced: a scratch folder $work, removed at the end; fail,
# which reports a failed check and counts it; and passed, which ends the test with the
# count, or with its message when nothing failed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
passed() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "$*"
}
# release_made DIST: a test of a release ends here, as skipped (CTest's SKIP_RETURN_CODE),
# when no release was made into DIST: a bare ctest before tools/release.sh ever ran.
release_made() {
  [[ -f $1/SHA256SUMS ]] && return
  echo "no release in $1: tools/release.sh makes one (tools/test.sh does, before the tests)"
  exit 77
}
