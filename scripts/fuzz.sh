#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build-fuzz/ and runs each for a while
# on its checked-in corpus and its dictionary (the mark-up's one is written
# from the tag table by the build).
#   scripts/fuzz.sh [SECONDS [TARGET...]]    default: 30 seconds, every target
# New inputs go to build-fuzz/corpus/<target>; a crash, or a target that
# grows past the memory limit, leaves its input in build-fuzz/ and fails the
# run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text bmp ini vprinter)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTQ587_FUZZ=ON -DTQ587_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# A small quarantine of freed memory (256 MB by default), so that the
# memory limit measures the target and not AddressSanitizer.
rss_limit_mb=256
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16:malloc_context_size=10
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  # Absolute paths: the targets make a scratch folder their current one.
  # The mark-up's dictionary is written by the build from the tag table.
  dict=$PWD/fuzz/dict/$t.dict
  [ -f "$dict" ] || dict=$PWD/build-fuzz/fuzz/text.dict
  mkdir -p "build-fuzz/corpus/$t"
  echo "== fuzz_$t for ${seconds} s"
  # -close_fd_mask=1: the library's console log (a fuzzed CONVERSOR.INI may
  # switch it on) does not flood the output.
  log="build-fuzz/fuzz_$t.log"
  status=0
  "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=$rss_limit_mb -close_fd_mask=1 \
    -dict="$dict" -artifact_prefix="$PWD/build-fuzz/" -print_final_stats=1 \
    "$PWD/build-fuzz/corpus/$t" "$PWD/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "fuzz_$t failed (exit $status); its input is in build-fuzz/" >&2
    exit 1
  fi
done
