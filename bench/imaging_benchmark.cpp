// Decoding, scaling and encoding at the sizes a gallery run meets. The test
// photos are written by our own encoder into a temporary folder at start.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "gallery/imaging_codec.h"
#include "gallery/overlay_text.h"
#include "gallery/shared_decode.h"
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

// A 4000 x 3000 photo is loaded at 1/2 (2000 x 1500) for its 600 px medium
// image and reduced once more to 1000 x 750 for its 150 px thumbnail.
void BM_ResampleBilinear(benchmark::State& state) {
  const int from = static_cast<int>(state.range(0)), to = static_cast<int>(state.range(1));
  TFastDIB source;
  BitmapToDib(syntheticPhoto(from, from * 3 / 4), source);
  TFastDIB result;
  result.SetSize(to, to * 3 / 4, 24);
  for (auto _ : state) {
    ResampleBilinear(source, result);
    benchmark::DoNotOptimize(result.Bits);
  }
}
BENCHMARK(BM_ResampleBilinear)->Args({1000, 150})->Args({2000, 600})->Unit(benchmark::kMicrosecond);

TFastDIB mediumDib() {
  TFastDIB dib;
  BitmapToDib(syntheticPhoto(600, 450), dib);
  return dib;
}

void BM_SharpenCross600(benchmark::State& state) {
  TFastDIB dib = mediumDib();
  for (auto _ : state) {
    SharpenCross(dib, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(dib.Bits);
  }
}
BENCHMARK(BM_SharpenCross600)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ContrastAndBrightness600(benchmark::State& state) {
  TFastDIB dib = mediumDib();
  for (auto _ : state) {
    Contrast(dib, 25, 25, 25);
    Brightness(dib, -20, -20, -20);
    benchmark::DoNotOptimize(dib.Bits);
  }
}
BENCHMARK(BM_ContrastAndBrightness600)->Unit(benchmark::kMicrosecond);

// The gallery's own steps, through its codec: what a photo costs beyond the
// decoder's work.
gallery::RgbImage rgbPhoto(int width, int height) {
  const TBitmap bitmap = syntheticPhoto(width, height);
  gallery::RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) image.at(x, y)[c] = in[3 * x + 2 - c];
    }
  }
  return image;
}

void BM_GalleryScaleAndFilter(benchmark::State& state) {
  const int from = static_cast<int>(state.range(0)), to = static_cast<int>(state.range(1));
  const gallery::RgbImage source = rgbPhoto(from, from * 3 / 4);
  gallery::ImagingCodec codec;
  gallery::FilterSteps steps;
  if (state.range(2) != 0) steps = {false, 1, 25, -20};
  for (auto _ : state) benchmark::DoNotOptimize(codec.scaleAndFilter(source, to, to * 3 / 4, steps));
}
BENCHMARK(BM_GalleryScaleAndFilter)
    ->Args({1000, 150, 0})
    ->Args({2000, 600, 0})
    ->Args({2000, 600, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_GalleryEncodeJpeg(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const gallery::RgbImage picture = rgbPhoto(width, width * 3 / 4);
  gallery::ImagingCodec codec;
  for (auto _ : state) benchmark::DoNotOptimize(codec.encodeJpeg(picture, 75));
}
BENCHMARK(BM_GalleryEncodeJpeg)->Arg(150)->Arg(600)->Unit(benchmark::kMicrosecond);

// One photo's pictures for both outputs: a decode at 1/2, then 1/4 by halving.
void BM_GallerySharedDecode(benchmark::State& state) {
  const auto file = photoFile(4000, 3000);
  gallery::ImagingCodec codec;
  for (auto _ : state) {
    gallery::SharedDecode photo(codec, file, {150, 600});
    benchmark::DoNotOptimize(photo.load(file, 1));
    benchmark::DoNotOptimize(photo.load(file, 2));
  }
}
BENCHMARK(BM_GallerySharedDecode)->Unit(benchmark::kMillisecond);

void BM_HalvePicture2000(benchmark::State& state) {
  const gallery::RgbImage picture = rgbPhoto(2000, 1500);
  for (auto _ : state) benchmark::DoNotOptimize(gallery::halvePicture(picture));
}
BENCHMARK(BM_HalvePicture2000)->Unit(benchmark::kMicrosecond);

// An overlay as a gallery image gets one: the font opened, the text measured
// and drawn twice (shadow and text).
void BM_OverlayText(benchmark::State& state) {
  gallery::RgbImage picture = rgbPhoto(600, 450);
  for (auto _ : state) {
    gallery::OverlayFont font("Tahoma", 11);
    const std::string text = "Medium caption 2026";
    benchmark::DoNotOptimize(font.textWidth(text));
    font.draw(picture, text, 3, 400, false, 0);
    font.draw(picture, text, 2, 399, false, 0xFFFFFF);
  }
}
BENCHMARK(BM_OverlayText)->Unit(benchmark::kMicrosecond);

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

void BM_EncodeJpeg(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const TBitmap picture = syntheticPhoto(width, width * 3 / 4);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpeg(picture, 80, false));
}
BENCHMARK(BM_EncodeJpeg)->Arg(8)->Arg(150)->Arg(600)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vistrel::imaging
