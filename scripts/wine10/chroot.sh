#!/usr/bin/env bash
# Makes the Debian 13 chroot of the Wine 10 leg once and prints its folder: debootstrap's minimal
# system, then the tools scripts/setup.sh installs there (64-bit Wine 10.0 among them), as on a new
# developer's machine. It is kept in the cache, named by a hash of the files that make it, so a
# changed recipe makes a new one. Nothing is installed on this host but debootstrap.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tree="$(cd "$here/../.." && pwd)"
recipe=("$here/chroot.sh" "$here/enter.sh" "$tree/scripts/setup.sh"
  "$tree/scripts/debian_system.sh")
key=$(cat "${recipe[@]}" | sha256sum | cut -c1-16)
cache=${ZARNEL_WINE10_CACHE:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/zarnel-wine10}
root="$cache/root-$key"
log() { echo "wine10: $*" >&2; }

. "$tree/scripts/debian_system.sh"
reuse_or_lock "$root" .zarnel-ready
mirror=$(debian_mirror wine10)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
command -v debootstrap >/dev/null 2>&1 || install_host_packages wine10 debootstrap

# Earlier recipes and unfinished attempts go, unless a run is inside one (enter.sh holds its lock)
# or something is mounted in it: removing a tree bound into it would remove the tree.
for old in "$cache"/root-* "$cache"/building-*; do
  [ -d "$old" ] || continue
  (
    flock -n 9 || { log "leaving $old: a run is inside"; exit 0; }
    if awk -v dir="$old/" 'index($2 "/", dir) == 1 { found = 1 } END { exit !found }' \
      /proc/self/mounts; then
      log "leaving $old: something is mounted in it"
      exit 0
    fi
    "${sudo[@]}" rm -rf "$old"
  ) 9>"$old.lock"
  [ -d "$old" ] || rm -f "$old.lock"
done

started=$(date +%s)
work="$cache/building-$key"
log "making Debian 13 from $mirror"
"${sudo[@]}" debootstrap --variant=minbase trixie "$work" "$mirror" \
  >"$cache/debootstrap.log" 2>&1 || { tail -n 20 "$cache/debootstrap.log" >&2; exit 1; }
made=$(date +%s)
log "chroot made in $((made - started)) s; installing the tools"
# setup.sh itself, from the tree, so the chroot has what a developer's machine would.
bash "$here/enter.sh" "$work" --tree "$tree" -- \
  DEBIAN_FRONTEND=noninteractive bash -c 'bash "$1/scripts/setup.sh" && apt-get clean &&
    rm -rf /var/lib/apt/lists/* && wine --version' _ "$tree" >"$cache/packages.log" 2>&1 ||
  { tail -n 20 "$cache/packages.log" >&2; exit 1; }
log "$(tail -n 1 "$cache/packages.log") installed in $(($(date +%s) - made)) s"
touch "$work/.zarnel-ready"
mv "$work" "$root"
[ ! -e "$work.lock" ] || mv "$work.lock" "$root.lock"
echo "$root"
