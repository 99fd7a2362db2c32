// Decoding, scaling and encoding at the sizes a gallery run meets. The test
// photos are written by our own encoder into a temporary folder at start.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "imaging/bitmap_filters.h"
#include "imaging/dib_filters.h"
#include "imaging/dib_transfer.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"

namespace vistrel::imaging {
namespace {

// A photo-like picture: smooth gradients with some fine texture, so that the
// JPEG carries realistic amounts of data.
TBitmap syntheticPhoto(int width, int height) {
  TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const unsigned texture = (static_cast<unsigned>(x) * 7919u ^ static_cast<unsigned>(y) * 104729u) % 23u;
      p[0] = static_cast<std::uint8_t>(x * 255 / width + texture);
      p[1] = static_cast<std::uint8_t>(y * 200 / height + texture);
      p[2] = static_cast<std::uint8_t>((x + y) * 120 / (width + height) + 60);
    }
  }
  return bitmap;
}

std::filesystem::path photoFile(int width, int height) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("vistrel-bench-" + std::to_string(width) + "x" + std::to_string(height) + ".jpg");
  if (!std::filesystem::exists(path)) SaveBitmapAsJpeg(path, syntheticPhoto(width, height), 90, false);
  return path;
}

void BM_DecodeJpeg4000x3000(benchmark::State& state) {
  const auto file = photoFile(4000, 3000);
  const int reduction = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(DecodeImageFile(file, reduction));
}
BENCHMARK(BM_DecodeJpeg4000x3000)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

// Peak memory of one load, measured in a child process: the growth of its
// maximum resident set while it decodes. The full picture alone is 72 MB.
void BM_PeakMemoryJpeg6000x4000(benchmark::State& state) {
  const auto file = photoFile(6000, 4000);
  const int reduction = static_cast<int>(state.range(0));
  double megabytes = 0;
  for (auto _ : state) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
      rusage before{}, after{};
      getrusage(RUSAGE_SELF, &before);
      const DecodedImage image = DecodeImageFile(file, reduction);
      getrusage(RUSAGE_SELF, &after);
      const long grown = after.ru_maxrss - before.ru_maxrss;  // kilobytes
      (void)!write(pipeEnds[1], &grown, sizeof grown);
      _exit(image.bitmap.Empty() ? 1 : 0);
    }
    long grown = 0;
    (void)!read(pipeEnds[0], &grown, sizeof grown);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    waitpid(child, nullptr, 0);
    megabytes = static_cast<double>(grown) / 1024.0;
  }
  state.counters["peak_MB"] = megabytes;
}
BENCHMARK(BM_PeakMemoryJpeg6000x4000)->Arg(0)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

// A 4000 x 3000 photo for a 150 px thumbnail is loaded at 1/4 (1000 x 750).
void BM_ResampleBilinearTo150(benchmark::State& state) {
  TFastDIB source;
  BitmapToDib(syntheticPhoto(1000, 750), source);
  TFastDIB result;
  result.SetSize(150, 113, 24);
  for (auto _ : state) {
    ResampleBilinear(source, result);
    benchmark::DoNotOptimize(result.Bits);
  }
}
BENCHMARK(BM_ResampleBilinearTo150)->Unit(benchmark::kMicrosecond);

void BM_ResampleFilteredTo200(benchmark::State& state) {
  const TBitmap source = syntheticPhoto(1000, 750);
  const auto filter = static_cast<ResampleFilter>(state.range(0));
  state.SetLabel(std::string(kResampleFilterNames[static_cast<std::size_t>(state.range(0))]));
  TBitmap target;
  for (auto _ : state) {
    ResampleFiltered(200, 150, filter, 0, source, target);
    benchmark::DoNotOptimize(target.Bits());
  }
}
BENCHMARK(BM_ResampleFilteredTo200)
    ->Arg(static_cast<int>(ResampleFilter::Triangle))
    ->Arg(static_cast<int>(ResampleFilter::Lanczos3))
    ->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg600(benchmark::State& state) {
  const TBitmap picture = syntheticPhoto(600, 450);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpeg(picture, 80, false));
}
BENCHMARK(BM_EncodeJpeg600)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistrel::imaging
