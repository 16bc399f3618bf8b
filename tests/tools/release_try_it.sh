#!/usr/bin/env bash
# Follows the README's install and tour with the release archive's own files: unpacks it into a
# folder of its own, checks the hashes, and runs the tour there as the README says, once as on
# Windows 11 and once as on Windows 10. Wine's own dwmapi.dll stands in for the system's.
#   release_try_it.sh ARCHIVE RUN_WINE WORK_DIR
set -u
archive=$1 run_wine=$2 work=$3
fail() {
  echo "release_try_it: $*" >&2
  exit 1
}
[ -f "$archive" ] || fail "no $archive: make it with scripts/release.sh (scripts/test32.sh does)"
rm -rf "$work" && mkdir -p "$work/Zarnel" || fail "cannot make $work"
# The emulated system has busybox's unzip only.
if command -v unzip >/dev/null; then unzip=(unzip -q); else unzip=(busybox unzip -q); fi
"${unzip[@]}" "$archive" -d "$work/Zarnel" || fail "cannot unpack $archive"
cd "$work/Zarnel" || exit 1
sha256sum -c --quiet SHA256SUMS || fail "SHA256SUMS does not match the unpacked files"

tour() { # BUILD LOG: the README's command line, in the unpacked folder
  ZARNEL_DWMAPI=b ZARNEL_WINDOWS_BUILD=$1 "$run_wine" plugin_host.exe ZarnelPlugin_Enhanced.dll \
    demo.zs >"$2" 2>&1
  local rc=$?
  sed -i 's/\r$//' "$2"
  return $rc
}
tour 22000 ../windows11.log
rc=$?
grep -v '^X connection to' ../windows11.log | tail -n 3
[ $rc -eq 0 ] || fail "Windows 11: exit code $rc, want 0 (log in $work/windows11.log)"
grep -qx 'done: 43 steps' ../windows11.log || fail "Windows 11: no 'done: 43 steps'"

tour 19045 ../windows10.log
rc=$?
grep -v '^X connection to' ../windows10.log | tail -n 4
[ $rc -eq 3 ] || fail "Windows 10: exit code $rc, want 3 (log in $work/windows10.log)"
grep -qF '[Zarnel.LastError] = "This feature requires Windows 11 Build 22000 or later. Your Windows version does not support titlebar color customization."' \
  ../windows10.log || fail "Windows 10: no refusal message"
grep -qx 'demo.zs:7: expected result 1, got 0' ../windows10.log ||
  fail "Windows 10: the tour did not stop at line 7"
echo "release_try_it: both runs as the README says"
