#!/usr/bin/env bash
# Builds the 64-bit programs and runs the benchmark programs under Wine, printing their figures:
# action and attach costs, automatic styling (ticks, latency, hooks), editor open/close cycles.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset x86_64 --log-level=WARNING >/dev/null
cmake --build --preset x86_64 -j2 --target bench_actions auto_style_bench editor_cycles_bench >/dev/null
cd build/x86_64/bin
for bench in bench_actions auto_style_bench editor_cycles_bench; do
  echo "== $bench"
  ZARNEL_DWMAPI=n ../run_wine.sh "$bench.exe" 2> >(grep -v '^X connection to' >&2)
done
