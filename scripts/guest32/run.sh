#!/usr/bin/env bash
# Boots the emulated 32-bit system (Debian 12 i386, 32-bit Wine 8, Xvfb; made on first use by
# image.sh) and runs one bash script in it, printing its output and exiting with its exit code.
#   run.sh SCRIPT [ARG...]
# Any command list works, not only the test suite: the work tree is shared at its own absolute
# path and the script starts in the current folder, so build/i686/run_wine.sh, build outputs and
# release files are reached as on this host; files it writes into the tree stay. Inside, DISPLAY
# is set, Wine prefixes live on the guest's disk (gone at power-off) and ZARNEL_GUEST32=1.
#   ZARNEL_GUEST_TIMEOUT  seconds before the whole boot is stopped (default 3600)
set -euo pipefail
script=${1:?usage: run.sh SCRIPT [ARG...]}
shift
here="$(cd "$(dirname "$0")" && pwd)"
tree="$(cd "$here/../.." && pwd)"
cwd=$(pwd)
[[ "$cwd/" == "$tree/"* ]] || cwd=$tree
image=$(bash "$here/image.sh")

job=$(mktemp -d "${TMPDIR:-/tmp}/zarnel-guest32-job.XXXXXX")
trap 'rm -rf "$job"' EXIT
cp "$script" "$job/script.sh"
printf 'exec /bin/bash %q %q\n' "$here/boot.sh" /zarnel-job >"$job/start.sh"
{
  printf 'cd %q || exit 1\n' "$cwd"
  printf 'exec bash /zarnel-job/script.sh'
  printf ' %q' "$@"
  printf '\n'
} >"$job/job.sh"

# -cpu max alone kills every 32-bit Wine process: this QEMU takes Wine's user-mode iret for a
# supervisor access under SMAP, and the guest kernel oopses.
status=0
timeout -k 10 "${ZARNEL_GUEST_TIMEOUT:-3600}" qemu-system-i386 -accel tcg,thread=multi \
  -cpu max,-smap -smp 2 -m 2048 -display none -monitor none -serial stdio -no-reboot -nic none \
  -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
  -append "console=ttyS0 quiet loglevel=3 panic=1 zarnel.tree=$tree" \
  -drive "file=$image/root.img,if=virtio,format=raw,cache=unsafe" -snapshot \
  -virtfs "local,path=$job,mount_tag=job,security_model=none" \
  -virtfs "local,path=$tree,mount_tag=tree,security_model=none" </dev/null | sed -u 's/\r$//' ||
  status=$?
if [ ! -f "$job/rc" ]; then
  echo "guest32: the guest stopped before the script finished (qemu status $status)" >&2
  exit 1
fi
exit "$(cat "$job/rc")"
