#!/usr/bin/env bash
# Runs a command as root inside a Debian chroot made by chroot.sh, with /proc, /sys, /dev, /dev/pts
# and a new /tmp mounted, and a work tree at its own path. The mounts belong to a mount namespace
# of the run's own and its processes to a PID namespace, so however the run ends, nothing stays
# mounted on this host and no wineserver or Xvfb outlives it.
#   enter.sh ROOT [--tree DIR] -- [VAR=VALUE...] COMMAND [ARG...]
# The command starts with an empty environment but for PATH, HOME, LANG, TERM and the VARs.
set -euo pipefail
usage="usage: enter.sh ROOT [--tree DIR] -- [VAR=VALUE...] COMMAND [ARG...]"
root=$(realpath "${1:?$usage}")
shift
tree=
if [ "${1:-}" = --tree ]; then
  tree=$(realpath "${2:?$usage}")
  shift 2
fi
[ "${1:-}" = -- ] && shift
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }

if [ -z "${ZARNEL_CHROOT_NAMESPACE:-}" ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # A chroot being replaced by a changed recipe is not taken from under a run: see chroot.sh.
  exec 7>"$root.lock"
  flock -s 7
  [ -x "$root/usr/bin/env" ] || { echo "enter: $root is not a chroot" >&2; exit 1; }
  # --kill-child: ended from outside, the namespace's first process takes all the others along.
  exec "${sudo[@]}" env ZARNEL_CHROOT_NAMESPACE=1 unshare --mount --pid --fork --kill-child \
    --propagation private -- bash "$0" "$root" ${tree:+--tree "$tree"} -- "$@"
fi

mounted=()
unmount() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -R "${mounted[i]}" 2>/dev/null || true
  done
}
trap unmount EXIT
mount_at() {
  local target=$root$1
  shift
  [ -e "$target" ] || mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}
mount_at /proc -t proc proc
mount_at /sys --rbind /sys
mount_at /dev --rbind /dev
mount_at /tmp -t tmpfs -o mode=1777 tmpfs
# apt inside needs a resolver; a test run does not mind one.
[ -f /etc/resolv.conf ] && touch "$root/etc/resolv.conf" &&
  mount_at /etc/resolv.conf --bind "$(realpath /etc/resolv.conf)"
[ -z "$tree" ] || mount_at "$tree" --bind "$tree"
chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root \
  LANG=C.UTF-8 TERM="${TERM:-dumb}" "$@"
