#!/usr/bin/env bash
# Runs the 64-bit suite under Wine 10.0 as well: every test ctest lists, on this tree's x86_64
# build, in a Debian 13 chroot (made on first use by scripts/wine10/chroot.sh, docs/figures.md says
# how long, and kept in ${ZARNEL_WINE10_CACHE:-${XDG_CACHE_HOME:-~/.cache}/zarnel-wine10} while its
# recipe is unchanged). The tree is mounted at its own path inside, so the build's absolute paths
# hold; Wine 10 gets prefixes of its own in build/x86_64/wine10, since a Wine 8 prefix is not for
# Wine 10.
#   test_wine10.sh [CTEST_ARGS...]   e.g. -R editor; ctest's own options, after -j2
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
bash scripts/setup.sh >&2
bash scripts/build.sh >&2
root=$(bash scripts/wine10/chroot.sh)
# The release test dates its archive from the commit, and the chroot has no git to ask.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
bash scripts/wine10/enter.sh "$root" --tree "$tree" -- \
  ZARNEL_PREFIX_ROOT="$tree/build/x86_64/wine10" ${epoch:+SOURCE_DATE_EPOCH="$epoch"} \
  bash -c 'cd "$1" && shift && echo "test_wine10: $(wine --version)" >&2 &&
    exec xvfb-run -a ctest --preset x86_64 -j2 "$@"' _ "$tree" "$@"
