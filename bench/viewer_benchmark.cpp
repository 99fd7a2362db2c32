// How the viewer feels with 24-megapixel photos, measured offscreen in the
// main window's own full-screen window at 1920 × 1080:
//   1. a step to the next photo, fetched ahead: key press to the new photo painted;
//   2. the first picture of a photo nobody fetched, against a bare libjpeg-turbo
//      decode at the same reduction plus the same scaling;
//   3. the resident memory while stepping through 200 photos.
//
//   viewer_benchmark [CORPUS_FOLDER]
//
// The corpus (four 6000 × 4000 JPEGs from ImageMagick, plasma with sensor-like
// noise, quality 90, 4:2:0) is made on the first run and kept; 200 hard links
// to them give 200 photos that the viewer treats as different files.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "app/main_form.h"
#include "browser/ui/full_screen.h"
#include "imaging/ui/imag_nv.h"
#include "imaging/ui/picture_cache.h"
#include "offscreen_support.h"
#include "platform/heap_tuning.h"
#include "platform/settings_store.h"

namespace fs = std::filesystem;
using namespace vistrel;
using bench::residentKb;

namespace {

constexpr int kSources = 4;
constexpr int kPhotos = 200;
const QSize kScreen(1920, 1080);

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs the event loop (sleeping between events, as the program does) until done.
void waitUntil(const std::function<bool()>& done) {
  if (done()) return;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(1);
  loop.exec();
}

// libjpeg-turbo alone: decode at 1/2 straight into 32-bit pixels, then the
// smooth scale to the size shown.
QImage bareDecode(const fs::path& file, QSize shown) {
  FILE* in = std::fopen(file.c_str(), "rb");
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, in);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = 2;
  cinfo.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&cinfo);
  QImage picture(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = picture.scanLine(int(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(in);
  return picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::returnLargeBuffers();  // as the program does at start
  QApplication application(argc, argv);
  const fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "vistrel-viewer-bench";
  bench::makeLinkedCorpus(corpus, kSources, kPhotos,
                          "-size 1500x1000 plasma:fractal -resize 6000x4000\\! -attenuate 0.6 +noise Gaussian "
                          "-sampling-factor 2x2 -quality 90");
  const fs::path home = corpus / "home";
  bench::useOwnHome(home);

  platform::SettingsStore store(home / "settings.reg");
  bench::SilentPrompter prompter;
  app::TMainForm form(store, prompter, home);
  form.show();
  QCoreApplication::processEvents();
  form.setCurrentFolder((corpus / "photos").string());
  form.listFolder();
  waitUntil([&] { return form.FileList->topLevelItemCount() == kPhotos; });

  std::printf("resident with the folder listed: %ld MB\n", residentKb("VmRSS:") / 1024);

  // 1. Steps with the next photo fetched ahead.
  form.FileList->selectRow(0);
  form.startFullScreen(false);
  browser::ui::TFullScreen* full = form.fullScreen();
  full->showNormal();
  full->setGeometry(QRect(QPoint(0, 0), kScreen));  // the offscreen screen is smaller
  imaging::TImagNV* viewer = full->ImageNV2;
  form.previewSelectedFile();
  imaging::PictureCache* cache = nullptr;
  for (QObject* child : form.children()) {
    if (auto* found = qobject_cast<imaging::PictureCache*>(child)) cache = found;
  }
  const auto settle = [&] {
    waitUntil([&] { return viewer->isValid() && !viewer->isLoading() && cache->jobCount() == 0; });
  };
  settle();
  // Ends the event loop once the viewer has painted.
  struct PaintWatch : QObject {
    QEventLoop* loop = nullptr;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint && loop) QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
      return false;
    }
  } watch;
  viewer->viewport()->installEventFilter(&watch);
  std::vector<double> steps, handled;
  int notReady = 0;
  for (int i = 0; i < 30; ++i) {
    QEventLoop painted;
    watch.loop = &painted;
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(full, Qt::Key_Down);
    handled.push_back(clock.nsecsElapsed() / 1e6);
    painted.exec();
    steps.push_back(clock.nsecsElapsed() / 1e6);
    watch.loop = nullptr;
    notReady += viewer->isLoading();
    settle();  // a person looks at the photo for a moment: the next one is fetched meanwhile
  }
  std::printf("step to a fetched-ahead photo, key to painted, %zu steps: median %.1f ms, max %.1f ms (%d not ready)\n",
              steps.size(), median(steps), *std::max_element(steps.begin(), steps.end()), notReady);
  std::printf("of which the key's own work (selection, texts, the cached picture put up): median %.1f ms\n",
              median(handled));
  std::printf("picture on screen: %d x %d\n", viewer->picture().width(), viewer->picture().height());

  // 2. First picture of a photo that nobody fetched, against the bare decode.
  std::vector<double> ours, bare;
  for (int i = 0; i < 7; ++i) {
    imaging::TImagNV cold;
    cold.resize(kScreen);
    cold.setAttributes(cold.attributes() & ~imaging::view_flags::sVIEW_SCROLLBARS);
    const fs::path file = corpus / ("source_" + std::to_string(i % kSources + 1) + ".jpg");
    QEventLoop shown;
    QObject::connect(&cold, &imaging::TImagNV::pictureChanged, &shown, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    cold.setFilename(QString::fromStdString(file.string()));
    shown.exec();
    ours.push_back(clock.nsecsElapsed() / 1e6);
    const QSize size = cold.picture().size();
    clock.restart();
    const QImage reference = bareDecode(file, size);
    bare.push_back(clock.nsecsElapsed() / 1e6);
    if (reference.size() != size) std::printf("sizes differ\n");
  }
  std::printf("first picture of a photo not fetched: median %.0f ms; bare libjpeg-turbo 1/2 decode + scale: median "
              "%.0f ms; ratio %.2f\n",
              median(ours), median(bare), median(ours) / median(bare));

  // 3. Memory while stepping through every photo.
  form.FileList->selectRow(0);
  form.previewSelectedFile();
  settle();
  long highest = residentKb("VmRSS:");
  for (int i = 1; i < kPhotos; ++i) {
    QTest::keyClick(full, Qt::Key_Down);
    waitUntil([&] { return viewer->isValid() && !viewer->isLoading(); });
    highest = std::max(highest, residentKb("VmRSS:"));
  }
  std::printf("stepping through %d photos: resident %ld MB at most, %ld MB at the end (peak of the process %ld MB); "
              "cache holds %lld MB\n",
              kPhotos, highest / 1024, residentKb("VmRSS:") / 1024, residentKb("VmHWM:") / 1024,
              static_cast<long long>(cache->bytesHeld() >> 20));
  full->close();
  return 0;
}
