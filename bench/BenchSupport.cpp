// BenchSupport.cpp - the counting pipe and a heap that counts what it holds.
#include "BenchSupport.h"

#include <malloc.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "connection/PrinterController.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
size_t gInUse = 0;
size_t gPeak = 0;

void* counted(void* p) {
  if (p) gInUse += malloc_usable_size(p);
  if (gInUse > gPeak) gPeak = gInUse;
  return p;
}
}  // namespace

size_t heapInUse() { return gInUse; }
size_t heapPeak() { return gPeak; }
void resetHeapPeak() { gPeak = gInUse; }

CountingPipe& connectCountingPipe() {
  auto owned = std::make_unique<CountingPipe>();
  CountingPipe& pipe = *owned;
  PrinterController::getInstance().setPipe(std::move(owned), true);
  return pipe;
}

void* operator new(size_t n) {
  void* p = counted(std::malloc(n ? n : 1));
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return counted(std::malloc(n ? n : 1)); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return operator new(n, std::nothrow); }
void operator delete(void* p) noexcept {
  if (!p) return;
  gInUse -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
