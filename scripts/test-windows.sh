#!/usr/bin/env bash
# Builds TQ587.dll for 32- and 64-bit Windows and tests them: exports and
# imports of both, and the Wine test of each DLL that Wine can run here
# (the 64-bit one with wine64; the 32-bit one where 32-bit Wine runs).
# Needs the Linux build in build/ (scripts/test.sh) to compare with.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-windows-deps.sh
bash scripts/install-wine32.sh

cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target TQ587 tq587-scenario tq587-virtual-printer

# One Wine prefix for both runs: making one takes most of a minute.
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/tq587-wineprefix-XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# With a 32-bit Wine that runs, the prefix gets its 32-bit half too.
boot=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
/usr/lib/wine/wine --version >/dev/null 2>&1 && boot=(/usr/lib/wine/wine)
WINEDEBUG=-all "${boot[@]}" wineboot -i >/dev/null 2>&1
wineserver -w

for arch in x86_64:win64 i686:win32; do
  build=build-${arch#*:}
  cmake -S . -B "$build" --toolchain "cmake/mingw-w64-${arch%%:*}.cmake" \
    -DTQ587_LINUX_BUILD="$PWD/build" >/dev/null
  cmake --build "$build" -j "$(nproc)"
  ls -l "$build/TQ587.dll"
  ctest --test-dir "$build" --output-on-failure
  ctest --test-dir "$build" -N | grep -q wine_matches_linux ||
    echo "$build: no Wine here that runs this DLL; only its exports and imports were checked"
done
