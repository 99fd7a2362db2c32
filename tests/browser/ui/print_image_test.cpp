#include "browser/ui/print_image.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "support/temp_folder.h"

namespace vistrel::browser::ui {
namespace {

std::string output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) text.append(buffer, n);
  return text;
}

int count(const QImage& page, QRect band, bool (*test)(QRgb)) {
  int found = 0;
  for (int y = band.top(); y <= band.bottom(); ++y) {
    for (int x = band.left(); x <= band.right(); ++x) found += test(page.pixel(x, y));
  }
  return found;
}

TEST(PrintImage, APdfPageShowsThePictureAndItsTwoLines) {
  if (std::system("command -v pdftoppm >/dev/null && command -v pdftotext >/dev/null") != 0) {
    GTEST_SKIP() << "poppler-utils is not installed";
  }
  test::TempFolder folder;
  const QString pdf = QString::fromStdString((folder / "page.pdf").string());
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(300);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageSize(QPageSize(QPageSize::A4));
  QImage photo(400, 300, QImage::Format_RGB32);
  photo.fill(QColor(20, 60, 220));
  PrintPicture(printer, "/photos/harbour.jpg", photo, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));

  // One page: the second page does not exist.
  EXPECT_FALSE(output("pdftotext -f 1 -l 1 '" + pdf.toStdString() + "' -").empty());
  EXPECT_TRUE(output("pdftotext -f 2 -l 2 '" + pdf.toStdString() + "' - 2>/dev/null").empty());
  const std::string text = output("pdftotext '" + pdf.toStdString() + "' -");
  EXPECT_NE(text.find("/photos/harbour.jpg printed"), std::string::npos) << text;
  EXPECT_NE(text.find("Vistrel 3.12"), std::string::npos) << text;

  // Rendered at 30 dpi: the picture fills the middle of the page in its blue.
  ASSERT_EQ(std::system(("pdftoppm -r 30 -png -singlefile '" + pdf.toStdString() + "' '" +
                         (folder / "page").string() + "'").c_str()), 0);
  const QImage page(QString::fromStdString((folder / "page.png").string()));
  ASSERT_FALSE(page.isNull());
  const QRect middle(page.width() / 3, page.height() / 2 - 10, page.width() / 3, 20);
  EXPECT_EQ(count(page, middle, [](QRgb p) { return qBlue(p) > 150 && qRed(p) < 80; }), middle.width() * middle.height());
}

}  // namespace
}  // namespace vistrel::browser::ui
