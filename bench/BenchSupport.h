// BenchSupport.h - what the benchmarks share: a printer that only counts
// bytes, and the heap peak of one run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "connection/AbstractCommunicationPipe.h"

class CountingPipe : public AbstractCommunicationPipe {
 public:
  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override {
    bytes += static_cast<size_t>(length);
    return length;
  }
  int close() override { return 1; }
  size_t bytes = 0;
};

// Puts a counting pipe in the printer controller, connected.
CountingPipe& connectCountingPipe();

// Heap bytes in use, and the most in use since resetHeapPeak().
size_t heapInUse();
size_t heapPeak();
void resetHeapPeak();

// Runs body each iteration; reports the heap peak of one more run above
// what was in use before it.
template <typename Body>
void measure(benchmark::State& state, Body body) {
  for (auto _ : state) body();
  const size_t before = heapInUse();
  resetHeapPeak();
  body();
  state.counters["peak_MB"] = static_cast<double>(heapPeak() - before) / 1e6;
}
