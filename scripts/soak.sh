#!/usr/bin/env bash
# The full soak run: scripts/soak.sh [actions (100000)] [editor cycles (200)] [seed (1)]. Prints
# memory and window counts at start and end under Wine and fails on growth.
set -euo pipefail
cd "$(dirname "$0")/.."
actions=${1:-100000}
cycles=${2:-200}
seed=${3:-1}
cmake --preset x86_64 --log-level=WARNING >/dev/null
cmake --build --preset x86_64 -j2 --target soak >/dev/null
export ZARNEL_TIMEOUT=${ZARNEL_TIMEOUT:-1800}
build/x86_64/run_wine.sh build/x86_64/bin/soak.exe --actions "$actions" --editor-cycles "$cycles" \
  --seed "$seed" 2> >(grep -v '^X connection to' >&2)
