#include "platform/collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

namespace vistrel::platform {

int compareLocaleText(std::string_view a, std::string_view b) {
  // A collator is costly to set up and sorting calls this for every pair;
  // keep one per thread, renewed when the locale changes.
  thread_local QCollator collator;
  thread_local QLocale locale = collator.locale();
  if (QLocale() != locale) {
    locale = QLocale();
    collator = QCollator(locale);
  }
  collator.setCaseSensitivity(Qt::CaseSensitive);
  const auto toQ = [](std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); };
  return collator.compare(toQ(a), toQ(b));
}

}  // namespace vistrel::platform
