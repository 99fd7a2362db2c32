#include "browser/ui/histogram_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstring>

#include "imaging/histogram.h"

namespace vistrel::browser::ui {
namespace {

constexpr int kSampleWidth = 300;
constexpr int kSampleHeight = 200;
constexpr std::uint8_t kSilver = 0xC0;

// The bitmap's blue-first rows, padded to four bytes, are the image's own layout.
QImage imageOf(const imaging::TBitmap& bitmap) {
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888).copy();
}

imaging::TBitmap bitmapOf(const QImage& picture) {
  const QImage rows = picture.convertToFormat(QImage::Format_BGR888);
  imaging::TBitmap bitmap(rows.width(), rows.height());
  for (int y = 0; y < rows.height(); ++y) std::memcpy(bitmap.ScanLine(y), rows.constScanLine(y), rows.width() * 3);
  return bitmap;
}

}  // namespace

THistogramForm::THistogramForm(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Histogram");
  RadioGroupColorPlane = new QGroupBox(" Channel ");
  channels = new QButtonGroup(this);
  auto* channelRow = new QHBoxLayout(RadioGroupColorPlane);
  int plane = 0;
  for (const char* caption : {"RGB", "Red", "Green", "Blue"}) {
    auto* button = new QRadioButton(caption);
    channels->addButton(button, plane++);
    channelRow->addWidget(button);
  }
  channels->button(0)->setChecked(true);
  ImageHistogram = new QLabel;
  ImageHistogram->setFixedSize(imaging::kHistogramWidth, imaging::kHistogramHeight);
  btnClose = new QPushButton("&Close");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ImageHistogram, 0, Qt::AlignHCenter);
  layout->addWidget(RadioGroupColorPlane);
  layout->addWidget(btnClose, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  drawn_.SetSize(imaging::kHistogramWidth, imaging::kHistogramHeight);
  connect(channels, &QButtonGroup::idClicked, this, &THistogramForm::RadioGroupColorPlaneClick);
  connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

void THistogramForm::refresh(const QImage& picture) {
  sample_ = picture.isNull() ? imaging::TBitmap()
                             : bitmapOf(picture.scaled(kSampleWidth, kSampleHeight, Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation));
  channels->button(0)->setChecked(true);
  RadioGroupColorPlaneClick();
}

void THistogramForm::RadioGroupColorPlaneClick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto plane = static_cast<imaging::HistogramPlane>(std::max(channels->checkedId(), 0));
  drawn_.Fill(kSilver, kSilver, kSilver);
  const QColor face = palette().color(QPalette::Button);
  imaging::DrawHistogram(drawn_, imaging::THistogram(sample_, plane), plane, face.rgb() & 0xFFFFFF);
  ImageHistogram->setPixmap(QPixmap::fromImage(imageOf(drawn_)));
  QApplication::restoreOverrideCursor();
}

QImage THistogramForm::histogramPicture() const { return imageOf(drawn_); }

void THistogramForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) return QWidget::keyPressEvent(event);
  close();
  event->accept();
}

}  // namespace vistrel::browser::ui
