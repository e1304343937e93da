// bench_image.cpp - time and peak memory of the picture paths: both exports
// end to end (file read included) on gradients with noise of 512 x 800 and
// 576 x 2000 pixels, and the reader, the threshold, the dithering and the
// raster encoder alone. The printer is a pipe that only counts bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "image/BMP.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "image/Raster.h"

namespace {

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

// The gradient file of the benchmark's size, and the picture read from it.
std::string fileFor(const benchmark::State& state) {
  return gradientFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
void loadFor(BMP& bmp, const benchmark::State& state) { bmp.load(fileFor(state).c_str()); }

void Export(benchmark::State& state, int (*print)(const char*)) {
  const std::string path = fileFor(state);
  CountingPipe& pipe = connectCountingPipe();
  measure(state, [&] { benchmark::DoNotOptimize(print(path.c_str())); });
  state.counters["sent"] = static_cast<double>(pipe.bytes) / static_cast<double>(state.iterations() + 1);
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

void BM_Threshold(benchmark::State& state) { Mask(state, thresholdMask); }
void BM_Dithered(benchmark::State& state) { Mask(state, ditheredMask); }

void BM_GerarRaster(benchmark::State& state) {
  BMP bmp;
  loadFor(bmp, state);
  const DotMask mask = thresholdMask(bmp);
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
BENCHMARK(BM_Threshold) SIZES;
BENCHMARK(BM_Dithered) SIZES;
BENCHMARK(BM_GerarRaster) SIZES;

}  // namespace

BENCHMARK_MAIN();
