#include "imaging/ui/imag_nv.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

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

}  // namespace
}  // namespace vistrel::imaging
