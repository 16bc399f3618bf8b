#!/usr/bin/env bash
# Builds the 64-bit programs and runs the benchmark programs under Wine, printing their figures:
# action and attach costs, automatic styling (ticks, latency, hooks), editor open/close cycles.
#   bench.sh --guest32   the shipped 32-bit build instead, inside the emulated 32-bit system
#                        (scripts/guest32/run.sh): its figures are emulated, only ratios within
#                        one run mean anything
set -euo pipefail
cd "$(dirname "$0")/.."
benches=(bench_actions auto_style_bench editor_cycles_bench)
preset=x86_64
[ "${1:-}" = --guest32 ] && preset=i686
bash scripts/setup.sh >/dev/null
cmake --preset "$preset" --log-level=WARNING >/dev/null
cmake --build --preset "$preset" -j2 --target "${benches[@]}" >/dev/null
if [ "$preset" = i686 ]; then
  job=$(mktemp "${TMPDIR:-/tmp}/zarnel-bench32.XXXXXX")
  trap 'rm -f "$job"' EXIT
  cat >"$job" <<'JOB'
cd build/i686/bin
echo "== EMULATED: 32-bit build under qemu-system-i386 (software CPU); compare ratios only"
status=0
for bench in "$@"; do
  echo "== $bench (emulated)"
  ZARNEL_DWMAPI=n ZARNEL_TIMEOUT=1800 ../run_wine.sh "$bench.exe" || status=1
done
exit $status
JOB
  bash scripts/guest32/run.sh "$job" "${benches[@]}"
  exit 0
fi
cd build/x86_64/bin
for bench in "${benches[@]}"; do
  echo "== $bench"
  ZARNEL_DWMAPI=n ZARNEL_TIMEOUT=${ZARNEL_TIMEOUT:-900} ../run_wine.sh "$bench.exe" 2> >(grep -v '^X connection to' >&2)
done
