#!/usr/bin/env bash
# Makes a 32-bit Wine that runs on any 64-bit x86 Linux, also one whose
# kernel cannot execute 32-bit programs: Debian's wine32 in a private i386
# folder, run in user-mode emulation by qemu-i386. Nothing i386 is installed
# in the system (dpkg's architectures stay as they are, and /usr/bin/wine
# keeps running wine64); only qemu-user-static and gcc-multilib come from
# apt. The loader to run 32-bit programs with is DIR/bin/wine, in a prefix
# made with WINEARCH=win32.
#
#   scripts/install-wine32.sh [DIR]      (default: build-wine32 in the checkout)
#
# Three fixes make Wine start under qemu-user 7.2:
#  - qemu takes MAP_FIXED_NOREPLACE as a hint and returns another address
#    where the kernel answers EEXIST; Wine's loader then reserves misaligned
#    ranges, probes 2 GB in 64 KiB steps for minutes and fails ("could not
#    load kernel32.dll"). A small library, preloaded in the folder, gives
#    back the kernel's answer.
#  - Wine starts each process by executing "wine" beside its loader, through
#    wine-preloader, which the kernel cannot run: the loader is renamed
#    wine.elf, and "wine" becomes a script that runs it under qemu.
#  - user32 needs zlib1.dll: mingw's, marked as a Wine builtin DLL, as the
#    package's own install script does.
# Idempotent: a step whose result is there is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(mkdir -p "${1:-build-wine32}" && cd "${1:-build-wine32}" && pwd)
export DEBIAN_FRONTEND=noninteractive

# Wine64 on the host gives the wineserver, which must be the same version.
bash scripts/install-deps.sh qemu-user-static gcc-multilib wine64
root=$dir/root

if [ ! -e "$root/usr/lib/wine/wine.elf" ]; then
  apt=$dir/apt
  mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$apt/etc/sources.list.d"
  : >"$apt/state/status"
  : >"$apt/etc/sources.list"
  cp /etc/apt/sources.list "$apt/etc/" 2>/dev/null || true
  cp /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list "$apt/etc/sources.list.d/" 2>/dev/null || true
  cat >"$apt/apt.conf" <<EOF
Dir::State "$apt/state";
Dir::State::status "$apt/state/status";
Dir::Cache "$apt/cache";
Dir::Etc::SourceList "$apt/etc/sources.list";
Dir::Etc::SourceParts "$apt/etc/sources.list.d";
APT::Architecture "i386";
APT::Architectures { "i386"; };
APT::Install-Recommends "false";
EOF
  version=$(dpkg-query -W -f '${Version}' wine64)
  # The i386 security index may fail to download; the release's suffices.
  APT_CONFIG=$apt/apt.conf apt-get update -qq >/dev/null 2>&1 || true
  APT_CONFIG=$apt/apt.conf apt-get install --download-only -y -qq "wine32=$version" >/dev/null
  rm -rf "$root"
  mkdir -p "$root"
  for deb in "$apt"/cache/archives/*.deb; do dpkg-deb -x "$deb" "$root"; done
  rm -rf "$apt/cache/archives"
  mv "$root/usr/lib/wine/wine" "$root/usr/lib/wine/wine.elf"
fi

mkdir -p "$dir/shim" "$dir/bin"
cat >"$dir/shim/noreplace.c" <<'EOF'
/* Preloaded in 32-bit programs under qemu-i386, which takes
 * MAP_FIXED_NOREPLACE as a hint: gives back the kernel's EEXIST when the
 * range asked for is taken, instead of another address. */
#define _GNU_SOURCE
#include <errno.h>
#include <stdint.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>
#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif
static void* map(void* addr, size_t len, int prot, int flags, int fd, uint64_t off) {
  void* p;
  if (off & 4095) {
    errno = EINVAL;
    return MAP_FAILED;
  }
  p = (void*)syscall(SYS_mmap2, addr, len, prot, flags, fd, (unsigned long)(off >> 12));
  if (p != MAP_FAILED && (flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && p != addr) {
    syscall(SYS_munmap, p, len);
    errno = EEXIST;
    return MAP_FAILED;
  }
  return p;
}
void* mmap(void* addr, size_t len, int prot, int flags, int fd, off_t off) {
  return map(addr, len, prot, flags, fd, (uint64_t)(uint32_t)off);
}
void* mmap64(void* addr, size_t len, int prot, int flags, int fd, off64_t off) {
  return map(addr, len, prot, flags, fd, (uint64_t)off);
}
EOF
shim=$dir/shim/libnoreplace.so
[ "$shim" -nt "$dir/shim/noreplace.c" ] || gcc -m32 -O2 -shared -fPIC -o "$shim" "$dir/shim/noreplace.c"
echo "$shim" >"$root/etc/ld.so.preload"

# WINELOADERNOEXEC keeps the loader from executing itself again.
cat >"$root/usr/lib/wine/wine" <<EOF
#!/bin/sh
export WINELOADERNOEXEC=1
exec qemu-i386-static -L "$root" -0 "$root/usr/lib/wine/wine" "$root/usr/lib/wine/wine.elf" "\$@"
EOF
chmod +x "$root/usr/lib/wine/wine"
ln -sfn "$root/usr/lib/wine/wine" "$dir/bin/wine"

zlib=$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll
if [ ! -e "$zlib" ]; then
  in=$root/usr/i686-w64-mingw32/lib/zlib1.dll
  { head -c 64 "$in"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$in"; } >"$zlib"
fi

echo "32-bit Wine under qemu-user: $dir/bin/wine"
