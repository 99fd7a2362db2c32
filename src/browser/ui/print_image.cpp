#include "browser/ui/print_image.h"

#include <QPainter>
#include <QPrinter>

#include "browser/picture_texts.h"
#include "browser/view_geometry.h"
#include "platform/error.h"
#include "platform/version.h"

namespace vistrel::browser::ui {
namespace {

QRect toQRect(const Rect& rect) { return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)); }

}  // namespace

void PrintPicture(QPrinter& printer, const QString& file, const QImage& picture, const QDateTime& printed) {
  QPainter painter;
  if (!painter.begin(&printer)) throw Error("The printer could not be started.");
  const QSize page(printer.width(), printer.height());
  const PrintLayout layout = PrintLayoutFor({page.width(), page.height()}, {picture.width(), picture.height()});
  // A 10-point font: the painter scales points to the printer's resolution.
  painter.setFont(QFont("Arial", 10));
  const QDate day = printed.date();
  const QTime time = printed.time();
  const std::string title =
      PrintTitle(file.toStdString(), {day.year(), day.month(), day.day(), time.hour(), time.minute(), time.second()});
  painter.drawText(QRect(layout.title.x, layout.title.y, page.width() - layout.title.x, layout.printable.top),
                   Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(title));
  painter.save();
  painter.setClipRect(toQRect(layout.programClip));
  painter.drawText(QRect(layout.programLine.x, layout.programLine.y, page.width(), page.height()),
                   Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(platform::programTitle()));
  painter.restore();
  if (!picture.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(toQRect(layout.picture), picture);
  }
  painter.end();
}

}  // namespace vistrel::browser::ui
