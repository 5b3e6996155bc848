#!/usr/bin/env bash
# Checks that the README's two commands work from a source archive on a fresh Debian 12 or
# 13 machine, and that the release it makes is a clone's, byte for byte. Run as root, with
# no other X servers on the machine; it takes half an hour or more and is not part of the
# test suite.
#
# In a new root (debootstrap, minbase) in build/archive-check/SUITE..., with `git archive HEAD`
# unpacked in /root/dosat and no git:
#   1. `bash tools/start.sh`, with the network and no display: what it installs (packages,
#      download), and the seconds until the calculation window is on its virtual X server,
#      seen from here; the window is then closed.
#   2. `bash tools/test.sh`: tools/install-deps.sh, its first step, once with the network,
#      then the whole command in a network namespace of its own, whose X servers and wine
#      sessions see no others.
# Then a clone of the same commit, in /root/clone, makes its release there (installing
# git, as a checkout needs it), and the two releases, and this checkout's, are compared:
# BUILDINFO, then SHA256SUMS.
#
#   tools/archive-check.sh [--suite bookworm|trixie] [--upgrade] [--mid-sync]
#                          [--lists-from-here] [MIRROR]
#
# --suite: the Debian release, bookworm (12, the default) or trixie (13).
# --upgrade: the root is updated (apt-get upgrade) first, as a machine kept up to date is.
# --mid-sync: the root's security suite has no i386 list, as when a mirror caught mid-sync
#   serves one that does not match its Release file; implies --upgrade, so that its amd64
#   libraries are the security suite's.
# --lists-from-here: the root leaves out apt-get update and takes this machine's package
#   lists instead (same suite only): the versions apt here would install.
# MIRROR is Debian's, http://deb.debian.org/debian unless given.
set -euo pipefail
cd "$(dirname "$0")/.."
suite=bookworm lists_from_here= upgrade= mid_sync=
while (($#)); do
  case $1 in
    --suite) suite=${2:-}; shift 2 ;;
    --upgrade) upgrade=yes; shift ;;
    --mid-sync) mid_sync=yes upgrade=yes; shift ;;
    --lists-from-here) lists_from_here=yes; shift ;;
    -*) echo "archive-check.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
case $suite in
  bookworm | trixie) ;;
  *) echo "archive-check.sh: --suite is bookworm (Debian 12) or trixie (Debian 13), not '$suite'" >&2; exit 2 ;;
esac
mirror=${1:-http://deb.debian.org/debian}

bash tools/install-deps.sh program display tests
git() { command git -c safe.directory="$(pwd)" "$@"; }
commit=$(git rev-parse HEAD)
[[ -z $(git status --porcelain) ]] ||
  echo "archive-check.sh: the checkout has changes: the archive and the clone are of $commit alone" >&2

check=$(pwd)/build/archive-check
root=$check/$suite${upgrade:+-upgraded}${mid_sync:+-mid-sync}
# The mounts below are made in a mount namespace of their own and end with it; a root
# that still holds one is not removed.
if [[ -d $root ]]; then
  grep -q " $root/" /proc/self/mounts && { echo "archive-check.sh: $root holds mounts" >&2; exit 1; }
  rm -rf --one-file-system "$root"
fi
mkdir -p "$check"
log=$root.log
: >"$log"
step() { echo "---- $*" | tee -a "$log"; }

step "debootstrap --variant=minbase $suite $root $mirror"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >>"$log" 2>&1
# The package sources a Debian installation has; with --mid-sync, none of the security
# suite's for i386.
security_arch=
[[ -z $mid_sync ]] || security_arch='[arch=amd64] '
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${security_arch}http://deb.debian.org/debian-security $suite-security main
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
if [[ -n $upgrade ]]; then
  step "in the root: apt-get update and apt-get upgrade"
  in_root "apt-get update -qq || true; DEBIAN_FRONTEND=noninteractive apt-get upgrade -y -qq" >>"$log" 2>&1
fi

# What is installed and downloaded, counted before and after a step.
counts() {
  dpkg-query -W -f='${db:Status-Abbrev}\n' --admindir="$root/var/lib/dpkg" | grep -c '^ii'
  find "$root/var/cache/apt/archives" -name '*.deb' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'
}
mapfile -t before < <(counts)
step "in the root, no display: bash tools/start.sh in /root/dosat"
start=$(date +%s)
in_root "$no_git; cd /root/dosat && bash tools/start.sh" >>"$log" 2>&1 &
starter=$!
# The calculation window on the root's virtual X server (xvfb-run's, whose cookie is in the
# root's /tmp; the root shares this machine's network namespace, where X's abstract
# sockets are).
up=
while kill -0 "$starter" 2>/dev/null && [[ -z $up ]]; do
  for auth in "$root"/tmp/xvfb-run.*/Xauthority; do
    [[ -e $auth ]] || continue
    for display in $(pgrep -a Xvfb | grep -o "Xvfb :[0-9]* .*${auth#"$root"}" | cut -d' ' -f2); do
      XAUTHORITY=$auth xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '("dosat" ' &&
        up=$(($(date +%s) - start))
    done
  done
  sleep 0.5
done
mapfile -t after < <(counts)
pkill -f '^build/app/ui/dosat' || true
wait "$starter" || true
[[ -n $up ]] || { tail -50 "$log" >&2; step "bash tools/start.sh: no calculation window"; exit 1; }
step "bash tools/start.sh: the window up after $up seconds; $((after[0] - before[0])) packages installed, $(((after[1] - before[1]) / 1000000)) MB downloaded"

step "in the root: no git; bash tools/install-deps.sh in /root/dosat"
in_root "$no_git; cd /root/dosat && bash tools/install-deps.sh" >>"$log" 2>&1
step "in the root, its own network: no git; bash tools/test.sh in /root/dosat"
start=$(date +%s)
status=0
in_root --net "$no_git; cd /root/dosat && bash tools/test.sh && $no_git" >>"$log" 2>&1 || status=$?
step "bash tools/test.sh: exit status $status, $(($(date +%s) - start)) seconds"
grep -E "tests passed|^[0-9]+ passed" "$log" | tail -4 | sed "s/^/  /" || true
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
