// bench_imagem.cpp - time and peak memory of the picture paths: both exports
// end to end (file read included) on gradients with noise of 512 x 800 and
// 576 x 2000 pixels, and the reader, the threshold, the dithering and the
// raster encoder alone. The printer is a pipe that only counts bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "connection/PrinterController.h"
#include "image/BMP.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "image/Raster.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Heap bytes in use and their peak, for the memory of one picture.
namespace {
size_t gInUse = 0;
size_t gPeak = 0;
}  // namespace

void* operator new(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  gInUse += malloc_usable_size(p);
  if (gInUse > gPeak) gPeak = gInUse;
  return p;
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  void* p = std::malloc(n ? n : 1);
  if (p) gInUse += malloc_usable_size(p);
  if (gInUse > gPeak) gPeak = gInUse;
  return p;
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return operator new(n, std::nothrow); }
void operator delete(void* p) noexcept {
  if (!p) return;
  gInUse -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

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

// A 24-bit BMP of a gradient with noise, written once per size.
std::string gradientFile(int width, int height) {
  const std::string path = "/tmp/tq587_bench_" + std::to_string(width) + "x" +
                           std::to_string(height) + ".bmp";
  const int stride = (width * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
  std::vector<uint8_t> file(54 + pixelBytes, 0);
  auto put = [&](size_t at, uint32_t value, int n) {
    for (int i = 0; i < n; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, 54 + pixelBytes, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  std::mt19937 random(587);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &file[54 + static_cast<size_t>(y) * stride + 3 * static_cast<size_t>(x)];
      const int noise = static_cast<int>(random() % 49) - 24;
      p[0] = static_cast<uint8_t>(std::clamp((x + y) * 255 / (width + height) + noise, 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(y * 255 / height + noise, 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(x * 255 / width - noise, 0, 255));
    }
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
  return path;
}

void connect(CountingPipe*& pipe) {
  auto owned = std::make_unique<CountingPipe>();
  pipe = owned.get();
  PrinterController::getInstance().setPipe(std::move(owned), true);
}

// Runs body each iteration; reports the heap peak of one run above what
// was in use before it.
template <typename Body>
void measure(benchmark::State& state, Body body) {
  for (auto _ : state) body();
  const size_t before = gInUse;
  gPeak = gInUse;
  body();
  state.counters["peak_MB"] = static_cast<double>(gPeak - before) / 1e6;
}

// The gradient file of the benchmark's size, and the picture read from it.
std::string fileFor(const benchmark::State& state) {
  return gradientFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
void loadFor(BMP& bmp, const benchmark::State& state) { bmp.load(fileFor(state).c_str()); }

void Export(benchmark::State& state, int (*print)(const char*)) {
  const std::string path = fileFor(state);
  CountingPipe* pipe = nullptr;
  connect(pipe);
  measure(state, [&] { benchmark::DoNotOptimize(print(path.c_str())); });
  state.counters["sent"] = static_cast<double>(pipe->bytes) / static_cast<double>(state.iterations() + 1);
}

void BM_ImprimeBitmap(benchmark::State& state) { Export(state, ImagemPB::imprimeBitmap); }
void BM_ImprimeBitmapColor(benchmark::State& state) { Export(state, ImagemColor::imprimeBitmapColor); }

void BM_BmpLoad(benchmark::State& state) {
  const std::string path = fileFor(state);
  measure(state, [&] {
    BMP bmp;
    benchmark::DoNotOptimize(bmp.load(path.c_str()));
  });
}

void Mask(benchmark::State& state, DotMask (*make)(const BMP&)) {
  BMP bmp;
  loadFor(bmp, state);
  measure(state, [&] { benchmark::DoNotOptimize(make(bmp)); });
}

void BM_Limiar(benchmark::State& state) { Mask(state, mascaraLimiar); }
void BM_Pontilhado(benchmark::State& state) { Mask(state, mascaraPontilhada); }

void BM_GerarRaster(benchmark::State& state) {
  BMP bmp;
  loadFor(bmp, state);
  const DotMask mask = mascaraLimiar(bmp);
  measure(state, [&] { benchmark::DoNotOptimize(gerarRaster(mask)); });
}

void BM_GreyRows(benchmark::State& state) {
  BMP bmp;
  loadFor(bmp, state);
  std::vector<uint8_t> grey(static_cast<size_t>(bmp.width()));
  measure(state, [&] {
    for (int32_t y = 0; y < bmp.height(); ++y) bmp.greyRow(y, grey.data());
    benchmark::DoNotOptimize(grey.data());
  });
}

#define SIZES ->Args({512, 800})->Args({576, 2000})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ImprimeBitmap) SIZES;
BENCHMARK(BM_ImprimeBitmapColor) SIZES;
BENCHMARK(BM_BmpLoad) SIZES;
BENCHMARK(BM_GreyRows) SIZES;
BENCHMARK(BM_Limiar) SIZES;
BENCHMARK(BM_Pontilhado) SIZES;
BENCHMARK(BM_GerarRaster) SIZES;

}  // namespace

BENCHMARK_MAIN();
