#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing;
# with arguments, those packages instead.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libusb-dev)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
