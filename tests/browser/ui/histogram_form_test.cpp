#include "browser/ui/histogram_form.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

namespace vistrel::browser::ui {
namespace {

// The height of the line drawn at a value: its pixels from the bottom up.
int lineHeight(const QImage& drawn, int value) {
  int height = 0;
  while (height < drawn.height() && drawn.pixel(value, drawn.height() - 1 - height) != drawn.pixel(200, 60)) ++height;
  return height;
}

TEST(HistogramForm, ShowsTheBrightnessFirstAndEachChannelOnRequest) {
  THistogramForm form;
  QImage picture(64, 48, QImage::Format_RGB32);
  picture.fill(QColor(255, 0, 0));
  form.refresh(picture);
  EXPECT_EQ(form.sample().Width(), 300);
  EXPECT_EQ(form.sample().Height(), 200);
  EXPECT_EQ(form.channels->checkedId(), 0);
  const QImage brightness = form.histogramPicture();
  EXPECT_EQ(brightness.size(), QSize(256, 129));
  EXPECT_GT(lineHeight(brightness, 85), 100);  // (255 + 0 + 0) / 3

  form.channels->button(1)->click();  // "Red"
  const QImage red = form.histogramPicture();
  EXPECT_GT(lineHeight(red, 255), 100);
  EXPECT_EQ(red.pixel(255, 120), qRgb(255, 0, 0));

  form.refresh(picture);  // a new picture shows the brightness again
  EXPECT_EQ(form.channels->checkedId(), 0);
}

}  // namespace
}  // namespace vistrel::browser::ui
