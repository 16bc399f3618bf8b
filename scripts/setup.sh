#!/usr/bin/env bash
# Installs the build and test tools that are missing, from Debian's packages; with everything in
# place it changes nothing. 32-bit Wine is never installed here: it would break 64-bit Wine, and the
# 32-bit suite (scripts/test32.sh) has its own inside an emulated system.
set -euo pipefail

have() { command -v "$1" >/dev/null 2>&1; }
missing=()
have cmake || missing+=(cmake)
# cmake's default generator; a minimal Debian has no make.
have make || missing+=(make)
have i686-w64-mingw32-g++ || missing+=(g++-mingw-w64-i686)
have x86_64-w64-mingw32-g++ || missing+=(g++-mingw-w64-x86-64)
have i686-w64-mingw32-objdump || missing+=(binutils-mingw-w64-i686)
[ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
# The "wine" package holds the wine, wineserver and winepath commands.
{ have wine && have wineserver && have winepath; } || missing+=(wine)
have xvfb-run || missing+=(xvfb)
have xauth || missing+=(xauth)
# Header-only test framework; the cross compilers read it from its own folder.
[ -f /usr/include/doctest/doctest.h ] || missing+=(doctest-dev)
# scripts/release.sh packs the archive, and its test unpacks it.
have zip || missing+=(zip)
have unzip || missing+=(unzip)

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all tools present"
  exit 0
fi
echo "setup: installing ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
# Without recommends: the wine package would otherwise pull in wine32.
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
