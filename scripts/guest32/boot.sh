#!/usr/bin/env bash
# Runs inside the emulated 32-bit system at every boot, from the work tree's share: gives the job
# a display and Wine prefixes on the guest's own disk, runs the job's job.sh, leaves its exit code
# in the job folder and powers off.
#   boot.sh JOB_DIR
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
job=${1:?usage: boot.sh JOB_DIR}
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
# /tmp stays the disk's: a work tree under /tmp is mounted there at its own path.
Xvfb :1 -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
for _ in $(seq 100); do
  [ -S /tmp/.X11-unix/X1 ] && break
  sleep 0.1
done
# The 9p share is slow and lacks what Wine wants of a prefix; -snapshot drops these at power-off.
export DISPLAY=:1 ZARNEL_PREFIX_ROOT=/var/tmp/zarnel-wine ZARNEL_PREFIX_TEMPLATE=/opt/zarnel-wine
export ZARNEL_WINESERVER_KEEP=1 ZARNEL_GUEST32=1
# Through a pipe: on the console Wine would draw its output with terminal escapes.
bash "$job/job.sh" 2>&1 | cat
echo "${PIPESTATUS[0]}" >"$job/rc"
sync
echo b >/proc/sysrq-trigger
