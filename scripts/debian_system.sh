# Sourced by the scripts that make Debian systems (the 32-bit guest, the Wine 10 chroot): where the
# packages come from, the host tools they need, and the cache a made system is kept in.

# The host's own Debian mirror, so a made system gets the same snapshot the host does: the Debian
# archives (URLs ending in /debian) among apt's deb822 and one-line sources, in apt's order.
apt_debian_mirror() {
  local deb822=(/etc/apt/sources.list.d/*.sources)
  [ -e "${deb822[0]}" ] && awk 'BEGIN { RS = ""; FS = "\n" }
    { deb = 0; on = 1; uris = ""
      for (i = 1; i <= NF; i++)
        if ($i ~ /^Types:/ && (" " substr($i, 7) " ") ~ /[ \t]deb[ \t]/) deb = 1
        else if ($i ~ /^Enabled:[ \t]*no/) on = 0
        else if ($i ~ /^URIs:/) uris = substr($i, 6)
      if (deb && on) { n = split(uris, u, " "); for (j = 1; j <= n; j++) print u[j] } }' \
    "${deb822[@]}"
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p'
}

# debian_mirror NAME: prints ZARNEL_DEBIAN_MIRROR, else the host's first Debian archive, without a
# trailing slash; with neither it tells NAME's user what to set and fails.
debian_mirror() {
  local mirror=${ZARNEL_DEBIAN_MIRROR:-$(apt_debian_mirror |
    grep -E '^https?://[^ ]+/debian/?$' | head -n1 || true)}
  if [ -z "$mirror" ]; then
    echo "$1: no Debian mirror: apt's sources (/etc/apt/sources.list, /etc/apt/sources.list.d/" >&2
    echo "$1: *.sources and *.list) name no Debian archive; set ZARNEL_DEBIAN_MIRROR to one, a" >&2
    echo "$1: URL ending in /debian" >&2
    return 1
  fi
  echo "${mirror%/}"
}

# install_host_packages NAME PACKAGE...: installs them on this host, as root or through sudo; a
# stale package list is refreshed once.
install_host_packages() {
  local name=$1 sudo=()
  shift
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "$name: installing $*" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "$@" >&2 ||
    { "${sudo[@]}" apt-get update -q >&2 &&
      "${sudo[@]}" apt-get install -y -q --no-install-recommends "$@" >&2; }
}

# reuse_or_lock DIR MARKER: prints DIR and ends the script when DIR/MARKER says it is made; else
# takes the build lock of DIR's cache on fd 8, held until the script ends, and checks again, since
# another run may have finished it while this one waited.
reuse_or_lock() {
  [ -f "$1/$2" ] && { echo "$1"; exit 0; }
  mkdir -p "$(dirname "$1")"
  exec 8>"$(dirname "$1")/.build.lock"
  flock 8
  [ -f "$1/$2" ] && { echo "$1"; exit 0; }
  return 0
}
