#!/usr/bin/env bash
# Installs what the Windows build and its tests need, when missing: Debian's
# mingw-w64 cross compilers, 64-bit Wine and Free Pascal. 32-bit Wine is
# scripts/install-wine32.sh, which may not be possible on every machine.
set -euo pipefail

packages=(mingw-w64 wine wine64 fpc)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq || true
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
