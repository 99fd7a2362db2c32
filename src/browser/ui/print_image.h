#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

class QPrinter;

namespace vistrel::browser::ui {

// Prints one page: the file's name with the date and time of printing at the
// top, the program's name at the bottom, and the picture fitted into the
// printable area between. Throws Error when the printer cannot be started.
void PrintPicture(QPrinter& printer, const QString& file, const QImage& picture, const QDateTime& printed);

}  // namespace vistrel::browser::ui
