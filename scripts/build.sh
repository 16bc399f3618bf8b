#!/usr/bin/env bash
# Configures and builds both presets: the shipped 32-bit DLL and the 64-bit build the tests run.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in i686 x86_64; do
  cmake --preset "$preset" --log-level=WARNING
  cmake --build --preset "$preset" -j2
done
