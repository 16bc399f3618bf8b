#!/usr/bin/env bash
# Makes the emulated 32-bit system once and prints the folder that holds it (vmlinuz, initrd.img,
# root.img): Debian 12 i386 with 32-bit Wine 8 and Xvfb, plus a ready Wine prefix. The folder is
# kept in the cache, named by a hash of the files that make it, so a changed recipe makes a new one.
# Everything comes from Debian's packages; nothing i386 is ever installed on this host.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
recipe=("$here/image.sh" "$here/initrd_init.sh" "$here/image_stage.sh" "$here/../debian_system.sh")
key=$(cat "${recipe[@]}" | sha256sum | cut -c1-16)
cache=${ZARNEL_GUEST32_CACHE:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/zarnel-guest32}
image="$cache/image-$key"
log() { echo "guest32: $*" >&2; }

. "$here/../debian_system.sh"
reuse_or_lock "$image" ready
mirror=$(debian_mirror guest32)

have() { command -v "$1" >/dev/null 2>&1; }
missing=()
have qemu-system-i386 || missing+=(qemu-system-x86)
have debootstrap || missing+=(debootstrap)
have mkfs.ext4 || missing+=(e2fsprogs)
have cpio || missing+=(cpio)
[ ${#missing[@]} -eq 0 ] || install_host_packages guest32 "${missing[@]}"
# debootstrap and the unpacking below need root; qemu does not.
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

started=$(date +%s)
work="$cache/building-$key"
"${sudo[@]}" rm -rf "$work" "$cache"/image-*
mkdir -p "$work"
root="$work/root"
log "downloading Debian 12 i386 from $mirror (about 210 MB)"
"${sudo[@]}" debootstrap --foreign --arch=i386 --variant=minbase \
  --include=wine,wine32,libwine,xvfb,xauth,procps,busybox-static bookworm "$root" "$mirror" \
  >"$work/debootstrap.log" 2>&1 || { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }

# The kernel is only unpacked: its package would run initramfs tools inside the guest for nothing.
packages=$(ls "$root"/var/lib/apt/lists/*_binary-i386_Packages)
field() { awk -v RS= -v p="$1" '$0 ~ "^Package: " p "\n"' "$packages" | sed -n "s/^$2: //p"; }
kernel=$(field linux-image-686 Depends | sed -n 's/^\(linux-image-[^ ,]*\).*/\1/p')
[ -n "$kernel" ] || { log "no linux-image-686 in $packages"; exit 1; }
wget -q -O "$work/kernel.deb" "$mirror/$(field "$kernel" Filename)"
echo "$(field "$kernel" SHA256)  $work/kernel.deb" | sha256sum -c --quiet ||
  { log "$kernel: checksum mismatch"; exit 1; }
mkdir -p "$work/kernel" "$work/busybox" "$work/initrd/modules"
dpkg-deb -x "$work/kernel.deb" "$work/kernel"
dpkg-deb -x "$root"/var/cache/apt/archives/busybox-static_*_i386.deb "$work/busybox"

# The initrd: busybox and the modules for the virtio disk, ext4 and the 9p share, in load order.
modules="$(ls -d "$work"/kernel/lib/modules/*/kernel)"
for module in drivers/virtio/virtio drivers/virtio/virtio_ring drivers/virtio/virtio_pci_modern_dev \
  drivers/virtio/virtio_pci_legacy_dev drivers/virtio/virtio_pci drivers/block/virtio_blk \
  lib/crc16 fs/mbcache fs/jbd2/jbd2 crypto/crc32c_generic fs/ext4/ext4 fs/netfs/netfs \
  fs/fscache/fscache net/9p/9pnet net/9p/9pnet_virtio fs/9p/9p; do
  cp "$modules/$module.ko" "$work/initrd/modules/"
  basename "$module" >>"$work/initrd/modules/order"
done
mkdir -p "$work/initrd/bin"
cp "$work/busybox/bin/busybox" "$work/initrd/bin/busybox"
cp "$here/initrd_init.sh" "$work/initrd/init"
chmod 755 "$work/initrd/init"
(cd "$work/initrd" && find . | cpio -o -H newc --quiet | gzip -1) >"$work/initrd.img"
cp "$work"/kernel/boot/vmlinuz-* "$work/vmlinuz"

# debootstrap --foreign leaves proc as a link to the host's /proc; the guest mounts its own there.
"${sudo[@]}" rm -f "$root/proc"
"${sudo[@]}" mkdir -p "$root/proc" "$root/sys" "$root/dev" "$root/zarnel-job"
log "making the disk image"
"${sudo[@]}" mkfs.ext4 -q -F -L zarnel32 -d "$root" "$work/root.img" 6G >&2
"${sudo[@]}" chown "$(id -u):$(id -g)" "$work/root.img"
"${sudo[@]}" rm -rf "$root" "$work/kernel" "$work/busybox" "$work/initrd" "$work/kernel.deb"

log "first boot: debootstrap's second stage and a Wine prefix (several minutes)"
job="$work/job"
mkdir -p "$job"
cp "$here/image_stage.sh" "$job/start.sh"
timeout -k 10 "${ZARNEL_IMAGE_TIMEOUT:-1800}" qemu-system-i386 -accel tcg,thread=multi -cpu max,-smap \
  -smp 2 -m 2048 -display none -monitor none -serial "file:$work/first-boot.log" -no-reboot \
  -nic none -kernel "$work/vmlinuz" -initrd "$work/initrd.img" \
  -append "console=ttyS0 quiet loglevel=3 panic=1" \
  -drive "file=$work/root.img,if=virtio,format=raw,cache=unsafe" \
  -virtfs "local,path=$job,mount_tag=job,security_model=none" </dev/null || true
if [ ! -f "$job/ok" ]; then
  log "the first boot failed; the last lines of $work/first-boot.log:"
  tail -n 30 "$work/first-boot.log" | tr -d '\r' >&2
  exit 1
fi
rm -rf "$job"
touch "$work/ready"
mv "$work" "$image"
log "image ready in $(($(date +%s) - started)) s: $image"
echo "$image"
