#!/usr/bin/env bash
# Builds both presets and runs the whole test suite (64-bit programs under Wine, in Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
bash scripts/build.sh >&2
xvfb-run -a ctest --preset x86_64 -j2
