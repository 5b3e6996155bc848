#!/usr/bin/env bash
# Checks that the README's test command works from a source archive on a fresh Debian 12
# machine, and that the release it makes is a clone's, byte for byte. Run as root; it takes
# an hour or more and is not part of the test suite.
#
# In a new Debian 12 root (debootstrap, minbase) in build/archive-check/root, with
# `git archive HEAD` unpacked in /root/dosat and no git, it runs `bash tools/test.sh`:
# tools/install-deps.sh, its first step, once with the network, then the whole command in
# a network namespace of its own, whose X servers and wine sessions see no others. Then a
# clone of the same commit, in /root/clone, makes its release there (installing git, as a
# checkout needs it), and the two releases, and this checkout's, are compared: BUILDINFO,
# then SHA256SUMS.
#
#   tools/archive-check.sh [--lists-from-here] [MIRROR]
#
# MIRROR is Debian's, http://deb.debian.org/debian unless given. With --lists-from-here the
# root leaves out apt-get update and takes this machine's package lists instead: the
# versions apt here would install, and a way past a mirror caught between two states
# ("File has unexpected size ... Mirror sync in progress?").
set -euo pipefail
cd "$(dirname "$0")/.."
lists_from_here=
[[ ${1:-} != --lists-from-here ]] || { lists_from_here=yes; shift; }
mirror=${1:-http://deb.debian.org/debian}

bash tools/install-deps.sh
git() { command git -c safe.directory="$(pwd)" "$@"; }
commit=$(git rev-parse HEAD)
[[ -z $(git status --porcelain) ]] ||
  echo "archive-check.sh: the checkout has changes: the archive and the clone are of $commit alone" >&2

check=$(pwd)/build/archive-check
root=$check/root
# The mounts below are made in a mount namespace of their own and end with it; a root
# that still holds one is not removed.
if [[ -d $root ]]; then
  grep -q " $root/" /proc/self/mounts && { echo "archive-check.sh: $root holds mounts" >&2; exit 1; }
  rm -rf --one-file-system "$root"
fi
mkdir -p "$check"
log=$check/log
: >"$log"
step() { echo "---- $*" | tee -a "$log"; }

step "debootstrap --variant=minbase bookworm $root $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >>"$log" 2>&1
# The package sources a Debian 12 installation has.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"

mkdir "$root/root/dosat"
git archive "$commit" | tar -x -C "$root/root/dosat"
git clone -q --no-checkout "$(git rev-parse --path-format=absolute --git-common-dir)" "$root/root/clone"
git -C "$root/root/clone" -c advice.detachedHead=false checkout -q "$commit"

# in_root [--net] COMMAND: COMMAND by bash in the root, as root, with /proc, /sys and /dev
# of its own namespaces; with --net in a network namespace that has only its loopback.
in_root() {
  local isolate=()
  [[ $1 != --net ]] || { isolate=(--net); shift; }
  nice -n 10 unshare --mount --propagation private --pid --fork --ipc "${isolate[@]}" \
    bash -c 'set -e
      root=$1
      mount -t proc proc "$root/proc"
      mount -t sysfs sysfs "$root/sys"
      mount --rbind /dev "$root/dev"
      mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
      ip link set lo up 2>/dev/null || true
      exec chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "$2"' \
    in_root "$root" "$1"
}

no_git='if command -v git >/dev/null; then echo "git is installed"; exit 1; fi'
if [[ -n $lists_from_here ]]; then
  find /var/lib/apt/lists -maxdepth 1 -type f ! -name lock -exec cp -t "$root/var/lib/apt/lists" {} +
  printf '#!/bin/sh\n[ "$1" = update ] && exit 0\nexec /usr/bin/apt-get "$@"\n' >"$root/usr/local/sbin/apt-get"
  chmod 755 "$root/usr/local/sbin/apt-get"
  step "in the root: this machine's package lists, and apt-get update left out"
fi
step "in the root: no git; bash tools/install-deps.sh in /root/dosat"
in_root "$no_git; cd /root/dosat && bash tools/install-deps.sh" >>"$log" 2>&1
step "in the root, its own network: no git; bash tools/test.sh in /root/dosat"
start=$(date +%s)
status=0
in_root --net "$no_git; cd /root/dosat && bash tools/test.sh && $no_git" >>"$log" 2>&1 || status=$?
step "bash tools/test.sh: exit status $status, $(($(date +%s) - start)) seconds"
((status == 0)) || { tail -50 "$log" >&2; exit 1; }

step "in the root: bash tools/release.sh in /root/clone"
in_root "cd /root/clone && bash tools/release.sh" >>"$log" 2>&1
step "here: bash tools/release.sh"
bash tools/release.sh >>"$log" 2>&1

archive=$root/root/dosat/dist clone=$root/root/clone/dist
# compare FILE WHOSE DIR: the archive's FILE and WHOSE's.
compare() {
  if diff -u "$archive/$1" "$3/$1" >>"$log"; then
    step "$1: the archive's is $2's"
  else
    step "$1: the archive's differs from $2's (in $log: - the archive's, + $2's)"
    return 1
  fi
}
status=0
compare BUILDINFO "the clone in the root" "$clone" || status=1
compare SHA256SUMS "the clone in the root" "$clone" || status=1
# This machine's packages may be older or newer than those a fresh root gets.
compare BUILDINFO "this checkout" dist || true
compare SHA256SUMS "this checkout" dist || true
step "the archive's release in the root"
sed 's/^/  /' "$archive/SHA256SUMS" | tee -a "$log"
exit "$status"
