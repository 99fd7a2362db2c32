// A folder of 100,000 photos in the main window's thumbnail view, offscreen at
// 1280 × 800: the time to list it, the longest the window went without handling
// events meanwhile, the time to the first screen of thumbnails, and the resident
// memory after each and while the thumbnails of the rest are made for a while.
//
//   folder_benchmark [CORPUS_FOLDER] [SWEEP_SECONDS] [thumbnails|list|details]
//
// In the List and Details views it times the listing and the sorts only.
//
// The corpus (four 640 × 480 JPEGs of noise at quality 95, above the thumbnail
// cache's minimum size, and 25,000 hard links to each) is made on the first
// run and kept, with the thumbnail cache in CORPUS/home: the first run fills
// the cache for the first screen, a second one shows it from a warm cache.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QTimer>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "offscreen_support.h"
#include "platform/heap_tuning.h"
#include "platform/settings_store.h"

namespace fs = std::filesystem;
using namespace vistrel;

namespace {

constexpr int kSources = 4;
constexpr int kPhotos = 100000;
constexpr double kThumbnailBytes = 80 * 80 * 4;  // a drawn thumbnail's pixels

long residentMb(const char* field) { return bench::residentKb(field) / 1024; }

// Runs the event loop until done, or until the time is up; false then.
bool waitUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

int drawnRows(const browser::ui::TFileList& list, int upTo) {
  int drawn = 0;
  for (int row = 0; row < upTo; ++row) drawn += !list.thumbnailOf(row).isNull();
  return drawn;
}

// The rows the thumbnail view shows at the top: the first screen.
int firstScreen(browser::ui::TFileList& list) {
  const QRect screen = list.iconView()->viewport()->rect();
  int rows = 0;
  while (rows < list.topLevelItemCount() &&
         list.iconView()->visualRect(list.model()->index(rows, 0)).intersects(screen)) {
    ++rows;
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::returnLargeBuffers();  // as the program does at start
  QApplication application(argc, argv);
  const fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "vistrel-folder-bench";
  const int sweepSeconds = argc > 2 ? std::atoi(argv[2]) : 20;
  const std::string view = argc > 3 ? argv[3] : "thumbnails";
  const bool thumbnails = view == "thumbnails";
  bench::makeLinkedCorpus(corpus, kSources, kPhotos, "-size 640x480 xc:gray +noise Random -quality 95");
  const fs::path home = corpus / "home";
  bench::useOwnHome(home);

  platform::SettingsStore store(home / "settings.reg");
  bench::SilentPrompter prompter;
  app::TMainForm form(store, prompter, home);
  form.resize(1280, 800);
  form.show();
  QCoreApplication::processEvents();
  std::printf("resident at start: %ld MB\n", residentMb("VmRSS:"));
  form.setViewStyle(thumbnails ? browser::ViewStyle::Thumbnails
                    : view == "list" ? browser::ViewStyle::List
                                     : browser::ViewStyle::Details);
  const long atStart = bench::residentKb("VmRSS:");
  QElapsedTimer clock;
  clock.start();
  form.setCurrentFolder((corpus / "photos").string());  // lists it, as a click in the folder tree does
  const double firstCall = clock.nsecsElapsed() / 1e9;  // no event handled meanwhile
  // The longest time between two turns of the event loop while the rest is listed.
  QElapsedTimer sinceTurn;
  sinceTurn.start();
  qint64 longestStall = 0;
  QTimer turns;
  QObject::connect(&turns, &QTimer::timeout, [&] { longestStall = std::max(longestStall, sinceTurn.restart()); });
  turns.start(1);
  int onScreen = 0;
  double shownAt = 0;
  waitUntil(
      [&] {
        if (thumbnails && onScreen == 0 && form.FileList->topLevelItemCount() > 0) onScreen = firstScreen(*form.FileList);
        if (shownAt == 0 && onScreen > 0 && drawnRows(*form.FileList, onScreen) == onScreen) {
          shownAt = clock.nsecsElapsed() / 1e9;
        }
        return form.FileList->topLevelItemCount() == kPhotos;
      },
      600000);
  turns.stop();
  const long listedKb = bench::residentKb("VmRSS:");
  const int drawn = drawnRows(*form.FileList, kPhotos);
  std::printf("listed %d files in %.2f s: %.2f s in the first call, then at most %lld ms without handling events; "
              "resident %ld MB: %d thumbnails drawn by then and %.0f bytes a row besides\n",
              form.FileList->topLevelItemCount(), clock.nsecsElapsed() / 1e9, firstCall, longestStall, listedKb / 1024,
              drawn, ((listedKb - atStart) * 1024.0 - drawn * kThumbnailBytes) / kPhotos);
  if (thumbnails) {
    if (shownAt == 0) {
      waitUntil([&] { return drawnRows(*form.FileList, onScreen) == onScreen; }, 600000);
      shownAt = clock.nsecsElapsed() / 1e9;
    }
    std::printf("first screen (%d thumbnails) drawn %.2f s after the listing started; resident %ld MB\n", onScreen,
                shownAt, residentMb("VmRSS:"));
  }
  // A click on a column header sorts on the window's thread.
  for (const auto& [column, label] : {std::pair{browser::kDateColumn, "date"}, std::pair{browser::kNameColumn, "name"}}) {
    QElapsedTimer sorting;
    sorting.start();
    form.FileList->sortByColumn(column, true);
    QCoreApplication::processEvents();  // the views lay the rows out again
    std::printf("sort by %s: %.2f s, resident %ld MB\n", label, sorting.nsecsElapsed() / 1e9, residentMb("VmRSS:"));
  }
  if (!thumbnails) return 0;
  const long before = residentMb("VmRSS:");
  const int drawnBefore = drawnRows(*form.FileList, kPhotos);
  waitUntil([] { return false; }, sweepSeconds * 1000);
  const int held = drawnRows(*form.FileList, kPhotos);
  const long after = residentMb("VmRSS:");
  std::printf("sweep for %d s: %d thumbnails held (%+d), resident %ld MB (%+ld MB; peak %ld MB)\n", sweepSeconds,
              held, held - drawnBefore, after, after - before, residentMb("VmHWM:"));
  form.FileList->stopThumbnails();
  return 0;
}
