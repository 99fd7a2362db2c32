// The viewer's decode of one photo for a 1920 × 1080 view, as the viewer does
// it on its worker thread: the time and the process's peak resident memory,
// which shows whether a large JPEG is reduced while it is decoded.
//
//   view_decode_benchmark PHOTO
#include <QElapsedTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "imaging/ui/view_decoder.h"

namespace {

long peakMb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) / 1024;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: view_decode_benchmark PHOTO\n");
    return 2;
  }
  using namespace vistrel::imaging;
  QElapsedTimer clock;
  clock.start();
  const ViewPicture picture = decodeForView({QString::fromLocal8Bit(argv[1]), 0, true, {QSize(1920, 1080), kShrinkToFit}});
  std::printf("decoded %d x %d of %d x %d in %.2f s; peak resident %ld MB\n", picture.pixels.width(),
              picture.pixels.height(), picture.fullSize.width(), picture.fullSize.height(), clock.nsecsElapsed() / 1e9,
              peakMb());
  return picture.pixels.isNull() ? 1 : 0;
}
