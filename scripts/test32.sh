#!/usr/bin/env bash
# Runs the test suite against the shipped 32-bit build inside an emulated 32-bit system (Debian 12
# i386 with 32-bit Wine 8 under qemu-system-i386), all programs in one boot. The system is made on
# first use (docs/figures.md says how long) and kept in the cache while its recipe is unchanged.
#   test32.sh [CTEST_SELECTION...]   e.g. -R autostyle; ctest's own selection options
#   ZARNEL_GUEST32_CACHE             the cache (default ${XDG_CACHE_HOME:-~/.cache}/zarnel-guest32)
#   ZARNEL_TIMEOUT_SCALE             time limits are multiplied by this under emulation (default 4)
#   ZARNEL_GUEST_SLOTS               test programs run at once in the guest (default 2)
# Each program's output is kept in build/i686/Testing/guest32/NAME.log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
# The release archive of this tree, which the README's tour is checked against.
bash scripts/release.sh >&2
cmake --preset i686 --log-level=WARNING >&2
cmake --build --preset i686 -j2 >&2
job=$(mktemp "${TMPDIR:-/tmp}/zarnel-test32.XXXXXX")
trap 'rm -f "$job"' EXIT
ctest --preset i686 --show-only=json-v1 "$@" |
  python3 scripts/guest32/ctest_job.py --scale "${ZARNEL_TIMEOUT_SCALE:-4}" \
    --slots "${ZARNEL_GUEST_SLOTS:-2}" \
    --log-dir "$PWD/build/i686/Testing/guest32" >"$job"
echo "test32: $(grep -c '^test_[0-9]*() ' "$job") test programs in the emulated 32-bit system" >&2
bash scripts/guest32/run.sh "$job"
