#!/bin/busybox sh
# The guest's first process: mounts the disk and the host's shares, then hands over to the job's
# start.sh. Kernel options: zarnel.tree=PATH mounts the share "tree" at that same path.
/bin/busybox --install -s /bin
mkdir -p /proc /sys /dev
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
# Leaving ends the boot: the kernel panics, reboots, and qemu (-no-reboot) exits.
fail() { echo "initrd: $*"; exit 1; }
# busybox insmod takes no dependencies: the order file lists them first (netfs before fscache).
for module in $(cat /modules/order); do
  insmod "/modules/$module.ko" || echo "initrd: cannot load $module"
done
mkdir -p /newroot
mount -t ext4 /dev/vda /newroot || fail "no root disk"
options=trans=virtio,version=9p2000.L,msize=262144
mount -t 9p -o "$options" job /newroot/zarnel-job || fail "no job share"
for word in $(cat /proc/cmdline); do
  case "$word" in
  zarnel.tree=*)
    tree=${word#zarnel.tree=}
    mkdir -p "/newroot$tree"
    # Uncached reads stop at msize, and Wine takes a short read of an image section as its end.
    mount -t 9p -o "$options,cache=loose" tree "/newroot$tree" || echo "initrd: no tree share"
    ;;
  esac
done
mount --move /proc /newroot/proc
mount --move /sys /newroot/sys
mount --move /dev /newroot/dev
exec switch_root /newroot /bin/sh /zarnel-job/start.sh
