#include "imaging/ui/imag_nv.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

class ImagNVTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.viewport()->resize(200, 100);
    view.resize(200, 100);
    view.setAttributes(view.attributes() & ~view_flags::sVIEW_SCROLLBARS);
  }
  TImagNV view;
};

TEST_F(ImagNVTest, ScalingModesSizeThePicture) {
  view.setPicture(QImage(400, 100, QImage::Format_RGB32));
  EXPECT_EQ(view.displaySize(), QSize(200, 50));  // shrink to fit
  view.setScale(100);
  EXPECT_EQ(view.displaySize(), QSize(400, 100));
  view.setScale(kStretchToFit);
  EXPECT_EQ(view.displaySize(), QSize(200, 100));
  view.setScale(kGrowToHeight);
  EXPECT_EQ(view.displaySize(), QSize(400, 100));

  view.setPicture(QImage(50, 20, QImage::Format_RGB32));
  view.setScale(kShrinkToFit);
  EXPECT_EQ(view.displaySize(), QSize(50, 20));  // small pictures are not blown up
  view.setScale(kGrowToFit);
  EXPECT_EQ(view.displaySize(), QSize(200, 80));
  view.setScale(kGrowToWidth);
  EXPECT_EQ(view.displaySize(), QSize(200, 80));
  view.setScaling(TViewAttributes::sSTRETCH_TO_FIT);
  EXPECT_EQ(view.scale(), kStretchToFit);
}

TEST_F(ImagNVTest, TurningTheViewSwapsTheSidesAndMirroringFlipsThePixels) {
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(Qt::white);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  view.setPicture(picture);
  view.setRotate(TRotateType::sRight);
  EXPECT_EQ(view.displaySize(), QSize(20, 40));
  view.setRotate(TRotateType::sOrigin);
  view.setMirrorH(true);
  view.setScale(100);
  view.setAlignH(TIM_ALignH::IM_ALIGNH_LEFT);
  view.setAlignV(TIM_AlignV::IM_ALIGNV_TOP);
  const QImage shown = view.viewport()->grab().toImage();
  EXPECT_EQ(shown.pixel(39, 0), qRgb(255, 0, 0));
}

TEST_F(ImagNVTest, AlignmentPlacesAPictureThatFits) {
  view.setPicture(QImage(50, 20, QImage::Format_RGB32));
  view.setScale(100);
  EXPECT_EQ(view.pictureRect().topLeft(), QPoint(75, 40));
  view.setAlignH(TIM_ALignH::IM_ALIGNH_RIGHT);
  view.setAlignV(TIM_AlignV::IM_ALIGNV_TOP);
  EXPECT_EQ(view.pictureRect().topLeft(), QPoint(150, 0));
  EXPECT_EQ(view.attributes() & 0xF, view_flags::kAlignRight | view_flags::kAlignTop);
}

TEST_F(ImagNVTest, MouseToolsZoomByModifier) {
  view.setPicture(QImage(400, 200, QImage::Format_RGB32));
  view.setScale(50);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(100, 50));
  EXPECT_EQ(view.scale(), 100);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 50));
  EXPECT_EQ(view.scale(), 50);
  view.setTool(1, 9);  // unknown tools are ignored
  EXPECT_EQ(view.tool(1), TTool::ZoomIn);
}

TEST_F(ImagNVTest, ThePanToolScrollsAPictureLargerThanTheView) {
  view.setPicture(QImage(400, 200, QImage::Format_RGB32));
  view.setScale(100);
  EXPECT_EQ(view.pictureRect().topLeft(), QPoint(0, 0));
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(150, 80));
  QTest::mouseMove(view.viewport(), QPoint(100, 50));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
  EXPECT_EQ(view.pictureRect().topLeft(), QPoint(-50, -30));
}

TEST_F(ImagNVTest, CtrlAndTheWheelZoomAroundThePointer) {
  view.setPicture(QImage(400, 200, QImage::Format_RGB32));
  view.setScale(100);
  const QPoint at(150, 60);
  const QPoint pictureAt = at - view.pictureRect().topLeft();  // (150, 60) of the picture
  QWheelEvent notch(at, view.viewport()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view.viewport(), &notch);
  EXPECT_EQ(view.scale(), 125);
  // The same spot of the picture stays under the pointer.
  const QPoint under = at - view.pictureRect().topLeft();
  EXPECT_NEAR(under.x(), pictureAt.x() * 1.25, 1);
  EXPECT_NEAR(under.y(), pictureAt.y() * 1.25, 1);
}

TEST(ViewDecoder, ReducesBigPicturesForSmallViews) {
  EXPECT_EQ(reductionFor(QSize(4000, 3000), QSize(200, 150)), 8);
  EXPECT_EQ(reductionFor(QSize(4000, 3000), QSize(1000, 1000)), 2);
  EXPECT_EQ(reductionFor(QSize(4000, 3000), QSize()), 1);
  EXPECT_EQ(reductionFor(QSize(100, 100), QSize(200, 150)), 1);
}

TEST(ImagNVLoading, LoadsAtTheShownSizeInTheBackgroundAndDecodesAgainWhenZoomedIn) {
  test::TempFolder folder;
  const QString file = QString::fromStdString((folder / "big.jpg").string());
  QImage big(1600, 1200, QImage::Format_RGB32);
  big.fill(Qt::darkGreen);
  ASSERT_TRUE(big.save(file, "JPEG"));

  TImagNV view;
  view.resize(200, 150);
  view.setAttributes(view.attributes() & ~view_flags::sVIEW_SCROLLBARS);
  QSignalSpy changed(&view, &TImagNV::pictureChanged);
  view.setFilename(file);
  EXPECT_TRUE(view.isLoading());
  ASSERT_TRUE(changed.wait(10000));
  EXPECT_TRUE(view.isValid());
  EXPECT_EQ(view.sizeX(), 1600);
  EXPECT_EQ(view.sizeY(), 1200);
  EXPECT_EQ(view.picture().size(), QSize(200, 150));

  view.setScale(100);
  QTRY_COMPARE_WITH_TIMEOUT(view.picture().size(), QSize(1600, 1200), 10000);

  view.setFilename(QString::fromStdString((folder / "missing.jpg").string()));
  ASSERT_TRUE(changed.wait(10000));
  EXPECT_FALSE(view.isValid());
}

// A JPEG of `size`, red on its left half and blue on its right.
QString halvesPhoto(const test::TempFolder& folder, const std::string& name, QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width() / 2; ++x) picture.setPixel(x, y, qRgb(255, 0, 0));
  }
  const QString file = QString::fromStdString((folder / name).string());
  EXPECT_TRUE(picture.save(file, "JPEG", 95));
  return file;
}

bool reddish(QRgb pixel) { return qRed(pixel) > 200 && qBlue(pixel) < 60; }

TEST(ViewDecoder, PhotosStandAsTheCameraWasHeld) {
  if (std::system("command -v exiftool >/dev/null") != 0) GTEST_SKIP() << "exiftool is not installed";
  test::TempFolder folder;
  const QString file = halvesPhoto(folder, "phone.jpg", QSize(64, 32));
  // Orientation 6: the camera was turned a quarter clockwise, so the stored left edge is the top.
  ASSERT_EQ(std::system(("exiftool -q -n -overwrite_original -Orientation=6 '" + file.toStdString() + "'").c_str()), 0);

  const ViewPicture upright = decodeForView({file, 0, true, {}});
  ASSERT_EQ(upright.pixels.size(), QSize(32, 64));
  EXPECT_EQ(upright.fullSize, QSize(32, 64));
  EXPECT_TRUE(reddish(upright.pixels.pixel(16, 8)));
  EXPECT_FALSE(reddish(upright.pixels.pixel(16, 56)));

  const ViewPicture fitted = decodeForView({file, 0, true, {QSize(16, 16), kShrinkToFit}});
  EXPECT_EQ(fitted.pixels.size(), QSize(8, 16));  // the box fits the upright picture

  const ViewPicture stored = decodeForView({file, 0, false, {}});
  EXPECT_EQ(stored.pixels.size(), QSize(64, 32));
  EXPECT_TRUE(reddish(stored.pixels.pixel(8, 16)));
}

class PictureCacheTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  PictureCache cache;

  void waitUntilIdle() {
    if (cache.jobCount() > 0) {
      ASSERT_TRUE(QSignalSpy(&cache, &PictureCache::idle).wait(10000));
    }
  }
};

TEST_F(PictureCacheTest, APhotoFetchedAheadShowsAtOnceInEveryViewOfTheCache) {
  const QString first = halvesPhoto(folder, "1.jpg", QSize(800, 600));
  const QString second = halvesPhoto(folder, "2.jpg", QSize(800, 600));
  TImagNV view, other;
  for (TImagNV* v : {&view, &other}) {
    v->resize(200, 150);
    v->setCache(&cache);
  }
  view.prefetch({first, second});
  waitUntilIdle();
  view.setFilename(second);
  EXPECT_FALSE(view.isLoading());
  EXPECT_EQ(view.picture().size(), QSize(200, 150));
  other.setFilename(first);
  EXPECT_FALSE(other.isLoading());

  // A file that changes is another picture, even with its old time stamp put
  // back (as a rotation does): the old one is never shown for it.
  const QDateTime stamp = QFileInfo(first).lastModified();
  QImage green(400, 300, QImage::Format_RGB32);
  green.fill(Qt::green);
  ASSERT_TRUE(green.save(first, "JPEG"));
  QFile(first).setFileTime(stamp, QFileDevice::FileModificationTime);
  other.setFilename(first);
  EXPECT_TRUE(other.isLoading());
  QTRY_VERIFY_WITH_TIMEOUT(!other.isLoading(), 10000);
  EXPECT_EQ(other.sizeX(), 400);
}

TEST_F(PictureCacheTest, AZoomedViewShowsAFittedPictureFirstAndThenTheFullOne) {
  const QString file = halvesPhoto(folder, "big.jpg", QSize(800, 600));
  TImagNV view;
  view.resize(200, 150);
  view.setAttributes(view.attributes() & ~view_flags::sVIEW_SCROLLBARS);
  view.setCache(&cache);
  view.setScale(100);
  view.prefetch({file});
  waitUntilIdle();
  view.setFilename(file);
  EXPECT_TRUE(view.isValid());
  EXPECT_EQ(view.picture().size(), QSize(200, 150));
  EXPECT_TRUE(view.isLoading());
  QTRY_COMPARE_WITH_TIMEOUT(view.picture().size(), QSize(800, 600), 10000);
}

TEST_F(PictureCacheTest, KeepsToItsMemoryBudget) {
  PictureCache small(nullptr, 3 * 200 * 150 * 4);
  TImagNV view;
  view.resize(200, 150);
  view.setCache(&small);
  QStringList files;
  for (int i = 0; i < 6; ++i) files << halvesPhoto(folder, std::to_string(i) + ".jpg", QSize(400, 300));
  view.prefetch(files);
  if (small.jobCount() > 0) {
    ASSERT_TRUE(QSignalSpy(&small, &PictureCache::idle).wait(10000));
  }
  EXPECT_LE(small.bytesHeld(), 3 * 200 * 150 * 4);
  EXPECT_GT(small.bytesHeld(), 0);
  view.setFilename(files.back());  // the newest stayed
  EXPECT_FALSE(view.isLoading());
}

}  // namespace
}  // namespace vistrel::imaging
