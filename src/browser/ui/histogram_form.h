#pragma once

#include <QWidget>

#include "imaging/bitmap.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vistrel::browser::ui {

// The "Histogram" tool window: how the brightness, or one colour, of the
// previewed picture is spread, from a 300 × 200 sample of it.
class THistogramForm : public QWidget {
  Q_OBJECT

 public:
  explicit THistogramForm(QWidget* parent = nullptr);

  // Takes a new sample of the picture (stretched to 300 × 200) and shows its
  // brightness ("RGB").
  void refresh(const QImage& picture);
  // The drawn histogram and the sample, for a look from outside.
  QImage histogramPicture() const;
  const imaging::TBitmap& sample() const { return sample_; }

  QGroupBox* RadioGroupColorPlane;
  QButtonGroup* channels;
  QLabel* ImageHistogram;
  QPushButton* btnClose;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RadioGroupColorPlaneClick();

  imaging::TBitmap sample_;
  imaging::TBitmap drawn_;
};

}  // namespace vistrel::browser::ui
