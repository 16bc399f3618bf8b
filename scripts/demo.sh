#!/usr/bin/env bash
# Builds everything, then runs the tour script examples/demo.zs through the 64-bit host tool
# under Wine, printing every action's host-variable writes and result.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
# Wine's own dwmapi.dll accepts caption colours and draws nothing; the recording stand-in, put into
# the prefix's system directory, logs each call instead, and the tool prints them as "dwm:" lines.
export ZARNEL_DWMAPI=${ZARNEL_DWMAPI:-n}
export ZARNEL_WINDOWS_BUILD=${ZARNEL_WINDOWS_BUILD:-22000}
bin=build/x86_64/bin
echo
echo "== $bin/plugin_host.exe $bin/ZarnelPlugin_Enhanced.dll examples/demo.zs" \
  "(Windows build $ZARNEL_WINDOWS_BUILD, dwmapi=$ZARNEL_DWMAPI)"
build/x86_64/run_wine.sh "$bin/plugin_host.exe" "$bin/ZarnelPlugin_Enhanced.dll" examples/demo.zs \
  2> >(grep -v '^X connection to' >&2)
