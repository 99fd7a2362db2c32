#include "browser/list_sorting.h"

#include <cctype>

#include "platform/collation.h"
#include "platform/dates.h"

namespace vistrel::browser {
namespace {

long long leadingInteger(const std::string& text) {
  long long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    if (value < 100000000000000LL) value = value * 10 + (c - '0');
  }
  return value;
}

int compareNumbers(const std::string& a, const std::string& b, bool flag) {
  const long long x = leadingInteger(a), y = leadingInteger(b);
  if (x == y) return flag ? -1 : 1;
  const int ascending = x < y ? -1 : 1;
  return flag ? ascending : -ascending;
}

int compareDates(const std::string& a, const std::string& b, bool flag) {
  const auto x = platform::parseShortDate(a), y = platform::parseShortDate(b);
  if (!x || !y || *x == *y) return 0;
  const int ascending = *x < *y ? -1 : 1;
  return flag ? ascending : -ascending;
}

int compareNames(const std::string& a, const std::string& b, const SortFlags& flags) {
  const int ascending = platform::compareLocaleText(a, b, flags.numbersByValue);
  return flags.name ? -ascending : ascending;
}

}  // namespace

void SortFlags::toggle(int column) {
  switch (column) {
    case kSizeColumn:
    case kPropertiesColumn: size = !size; break;
    case kDateColumn: date = !date; break;
    default: name = !name;
  }
}

int compareRows(const SortKeys& a, const SortKeys& b, int column, const SortFlags& flags) {
  switch (column) {
    case kSizeColumn: return compareNumbers(a.sizeText, b.sizeText, flags.size);
    case kPropertiesColumn: return compareNumbers(a.propertiesText, b.propertiesText, flags.size);
    case kDateColumn: return compareDates(a.dateText, b.dateText, flags.date);
    default: return compareNames(a.caption, b.caption, flags);
  }
}

}  // namespace vistrel::browser
