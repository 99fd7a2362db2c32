#include "browser/ui/list_thumbnails.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <chrono>
#include <thread>

namespace vistrel::browser::ui {
namespace {

// While the window's thread is busy, the pictures it has not taken yet stay
// few: a sort of 100,000 rows once let gigabytes of them pile up.
TEST(ThumbnailLoader, WaitsForABusyWindowInsteadOfQueueingPictures) {
  QObject window;
  constexpr int kFiles = 500;
  int delivered = 0;
  bool swept = false;
  ThumbnailLoader::Callbacks callbacks;
  callbacks.ready = [&](int, const QImage&) { ++delivered; };
  callbacks.swept = [&] { swept = true; };
  callbacks.cacheProblem = [](const std::string&) {};
  ThumbnailLoader loader(std::vector<std::filesystem::path>(kFiles, "/no such folder/photo.jpg"), std::nullopt,
                         &window, callbacks);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // busy: no event handled
  QCoreApplication::sendPostedEvents(&window);
  EXPECT_LE(delivered, 40);
  ASSERT_TRUE(QTest::qWaitFor([&] { return swept; }, 20000));
  EXPECT_EQ(delivered, kFiles);
}

}  // namespace
}  // namespace vistrel::browser::ui
