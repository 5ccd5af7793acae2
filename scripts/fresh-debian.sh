#!/usr/bin/env bash
# Tries the README's set-up from nothing on one Debian release: builds a
# minimal Debian (debootstrap's minbase: bash, apt, no compiler) in a chroot,
# clones this checkout's HEAD into it and runs ./test.sh there as a new user
# would, with CI=1 so that a compiler warning fails the build. Run by hand,
# as root (debootstrap, chroot and mount need it); CI runs it for Debian 13.
#   scripts/fresh-debian.sh SUITE [MIRROR]      SUITE: bookworm, trixie, ...
# The chroot lives in build-fresh/SUITE (git-ignored) and is deleted at the
# end, pass or fail. Downloaded packages are kept in build-fresh/cache/SUITE
# (or TESVA_FRESH_CACHE/SUITE, which CI sets to a folder outside its clone),
# so that a second run does not fetch them again.
#
# The chroot never binds the host's /dev: debootstrap makes the few device
# nodes it needs on the chroot's own disk. If a deletion ever ran through a
# bind of the host's /dev, it would empty the host's /dev. So before the
# chroot is deleted, whatever still runs inside it is ended, everything
# mounted under it is unmounted, the script checks that nothing is left
# mounted (and keeps the chroot if something is), and rm stays on one file
# system.
set -euo pipefail

usage() {
  echo "usage: $0 SUITE [MIRROR]" >&2
  exit 2
}
[ $# -ge 1 ] && [ $# -le 2 ] || usage
suite=$1
mirror=${2:-http://deb.debian.org/debian}
[[ $suite =~ ^[a-z][a-z0-9-]*$ ]] || usage
if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-debian: run as root (debootstrap, chroot and mount need it)" >&2
  exit 2
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
base=$root/build-fresh
target=$base/$suite
cache=${TESVA_FRESH_CACHE:-$base/cache}/$suite
mkdir -p "$base" "$cache/debootstrap" "$cache/apt"

# Mount points under the chroot, deepest first.
mounts_under() {
  findmnt -rn -o TARGET | awk -v t="$target" 'index($0, t "/") == 1 || $0 == t' | sort -r
}

# Ends every process whose root is the chroot: first politely, then not.
end_processes() {
  local signal pid
  for signal in TERM KILL; do
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
      [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$target" ] && kill "-$signal" "$pid" 2>/dev/null
    done
    sleep 1
  done
  return 0
}

remove_chroot() {
  [ -e "$target" ] || return 0
  end_processes
  local mount
  for mount in $(mounts_under); do
    umount "$mount" || umount --lazy "$mount" || true
  done
  if [ -n "$(mounts_under)" ]; then
    echo "fresh-debian: still mounted, so $target is kept; unmount and delete it by hand:" >&2
    mounts_under >&2
    return 1
  fi
  rm -rf --one-file-system "$target"
}

# Keeps what apt downloaded for the next run, then deletes the chroot.
finish() {
  local status=$?
  if [ -d "$target/var/cache/apt/archives" ]; then
    cp -n "$target"/var/cache/apt/archives/*.deb "$cache/apt/" 2>/dev/null || true
  fi
  remove_chroot || status=1
  exit "$status"
}

remove_chroot # a chroot left by a run that was cut off
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap ||
    { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y debootstrap; }
fi
trap finish EXIT
trap 'exit 130' INT TERM

echo "fresh-debian: debootstrap $suite into $target"
debootstrap --variant=minbase --cache-dir="$cache/debootstrap" "$suite" "$target" "$mirror" \
  >"$base/$suite-debootstrap.log" ||
  { tail -20 "$base/$suite-debootstrap.log" >&2; exit 1; }
if ! chroot "$target" /bin/sh -c ': >/dev/null'; then
  echo "fresh-debian: the chroot's /dev/null does not work (is $base on a nodev file system?)" >&2
  exit 1
fi
mount -t proc proc "$target/proc"
chmod 1777 "$target/dev/shm"
cp /etc/resolv.conf "$target/etc/resolv.conf"
# The machine's own certificate authorities (a proxy's, say), so that the
# npm registry answers inside as it does outside: trusted by Node.js at once,
# and by the whole system once the chroot's ca-certificates is installed.
if [ -d /usr/local/share/ca-certificates ]; then
  mkdir -p "$target/usr/local/share/ca-certificates"
  cp -r /usr/local/share/ca-certificates/. "$target/usr/local/share/ca-certificates/"
fi
cp /etc/ssl/certs/ca-certificates.crt "$target/etc/host-ca-certificates.crt"
cp -n "$cache"/apt/*.deb "$target/var/cache/apt/archives/" 2>/dev/null || true

git clone --quiet --no-hardlinks "$root" "$target/root/tesva"
echo "fresh-debian: $suite: ./test.sh in a clone of $(git -C "$root" rev-parse --short HEAD)"
chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI=1 \
  NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd /root/tesva && ./test.sh'
echo "fresh-debian: $suite passed"
