#!/usr/bin/env bash
# Builds TQ587.dll for 32- and 64-bit Windows and tests them: exports and
# imports of both, no floating-point instruction in the library's code, and
# the Wine test of each (tests/wine/compare.sh): the 64-bit DLL under
# wine64, the 32-bit one under 32-bit Wine run by qemu-user
# (scripts/install-wine32.sh), each compared with the 64-bit Linux library
# for every floating-point setting a calling program may have left.
# Builds the Linux library in build/ to compare with.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-windows-deps.sh
bash scripts/install-wine32.sh build-wine32

cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target TQ587 tq587-scenario tq587-threads tq587-virtual-printer

for arch in x86_64:win64:/usr/lib/wine/wine64 i686:win32:$PWD/build-wine32/bin/wine; do
  IFS=: read -r processor name wine <<<"$arch"
  build=build-$name
  cmake -S . -B "$build" --toolchain "cmake/mingw-w64-$processor.cmake" \
    -DTQ587_LINUX_BUILD="$PWD/build" -DTQ587_WINE="$wine" >/dev/null
  cmake --build "$build" -j "$(nproc)"
  ls -l "$build/TQ587.dll"
  started=$(date +%s)
  ctest --test-dir "$build" --output-on-failure
  # grep reads the whole list: with -q it may stop early and ctest, cut
  # off by SIGPIPE, would fail the pipe
  ctest --test-dir "$build" -N | grep wine_matches_linux >/dev/null ||
    { echo "$build: $wine does not start here: no Wine test" >&2; exit 1; }
  echo "$build: tests took $(($(date +%s) - started)) s"
done
