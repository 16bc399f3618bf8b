#!/usr/bin/env bash
# The long fuzz run: scripts/fuzz.sh [calls (1000000)] [seed (1)]. Feeds the 64-bit plug-in random
# action numbers and parameter arrays under Wine and prints the calls per second; a failure names
# its seed and call, and the same seed replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
calls=${1:-1000000}
seed=${2:-1}
cmake --preset x86_64 --log-level=WARNING >/dev/null
cmake --build --preset x86_64 -j2 --target exec_fuzz >/dev/null
# The time limit allows 5,000 calls a second, well under the usual rate, plus Wine's start.
export ZARNEL_TIMEOUT=${ZARNEL_TIMEOUT:-$((calls / 5000 + 120))}
build/x86_64/run_wine.sh build/x86_64/bin/exec_fuzz.exe --seed "$seed" --calls "$calls" \
  2> >(grep -v '^X connection to' >&2)
