#!/usr/bin/env bash
# Builds the library and runs every test.
#   scripts/test.sh             plain build in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --thread    ThreadSanitizer in build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build
flags=(-DTQ587_BENCH=ON)  # the benchmarks are built, not run
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  flags=(-DTQ587_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "${1:-}" = "--thread" ]; then
  build=build-tsan
  flags=(-DTQ587_TSAN=ON)
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
fi

cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
bash scripts/test-share.sh
