#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libusb-dev
          clang libclang-rt-14-dev
          libfreetype-dev libpng-dev libzint-dev fonts-dejavu-core fontconfig zxing-cpp-tools
          # the virtual printer's live page, and the browser of its test
          libcpp-httplib-dev chromium
          libbenchmark-dev
          # the bindings' test; its fpc comes with install-windows-deps.sh
          mono-mcs mono-runtime libmono-i18n-west4.0-cil python3)

# Node.js for the live page's test, from Debian unless the machine has one
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
[ $# -gt 0 ] && packages=("$@")  # with arguments: those packages instead
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq || echo "apt-get update had errors; going on with the package lists it has" >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null
