#!/usr/bin/env bash
# Builds the library for 32-bit x86 Linux (gcc -m32) in build-linux32/ and
# runs its tests under qemu-i386: the unit tests and case tables, no
# floating-point instruction in the library's code, and the comparison with
# the 64-bit library in build/ (tests/wine/compare.sh) for every
# floating-point setting a calling program may have left.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh qemu-user-static gcc-multilib g++-multilib

cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target TQ587 tq587-scenario tq587-threads tq587-virtual-printer

# GoogleTest for 32-bit programs, from Debian's sources of it.
gtest=$PWD/build-googletest32/installed
if [ ! -e "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B build-googletest32 --toolchain "$PWD/cmake/linux-i686.cmake" \
    -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-googletest32 -j "$(nproc)" >/dev/null
  cmake --install build-googletest32 >/dev/null
fi

cmake -S . -B build-linux32 --toolchain cmake/linux-i686.cmake -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DTQ587_LINUX_BUILD="$PWD/build" >/dev/null
cmake --build build-linux32 -j "$(nproc)"
started=$(date +%s)
ctest --test-dir build-linux32 --output-on-failure -j "$(nproc)"
echo "build-linux32: tests took $(($(date +%s) - started)) s under qemu-i386"
