#!/usr/bin/env bash
# Installs what the Windows build and its tests need, when missing: Debian's
# mingw-w64 cross compilers, 64-bit Wine and Free Pascal. 32-bit Wine is
# scripts/install-wine32.sh, which may not be possible on every machine.
set -euo pipefail
exec bash "$(dirname "$0")/install-deps.sh" mingw-w64 wine wine64 fpc
