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
