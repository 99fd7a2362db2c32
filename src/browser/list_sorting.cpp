#include "browser/list_sorting.h"

#include <cctype>

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

int compareNumbers(long long x, long long y, bool flag) {
  if (x == y) return flag ? -1 : 1;
  const int ascending = x < y ? -1 : 1;
  return flag ? ascending : -ascending;
}

int compareDates(const platform::DateTime& x, const platform::DateTime& y, bool flag) {
  if (x == y) return 0;
  const int ascending = x < y ? -1 : 1;
  return flag ? ascending : -ascending;
}

bool isNameFamily(int column) { return column != kSizeColumn && column != kPropertiesColumn && column != kDateColumn; }

}  // namespace

void SortFlags::toggle(int column) {
  switch (column) {
    case kSizeColumn:
    case kPropertiesColumn: size = !size; break;
    case kDateColumn: date = !date; break;
    default: name = !name;
  }
}

ColumnKey columnKey(const SortKeys& texts, int column, bool numbersByValue) {
  ColumnKey key;
  if (isNameFamily(column)) key.caption.emplace(texts.caption, numbersByValue);
  if (column == kSizeColumn) key.number = leadingInteger(texts.sizeText);
  if (column == kPropertiesColumn) key.number = leadingInteger(texts.propertiesText);
  if (column == kDateColumn) {
    // From the time itself: formatting the shown text and reading it back cost
    // 40 µs a row, 4 s for a folder of 100,000 files.
    key.date = platform::toLocal(texts.lastWrite);
    key.date.millisecond = 0;
  }
  return key;
}

int compareRows(const ColumnKey& a, const ColumnKey& b, int column, const SortFlags& flags) {
  if (column == kDateColumn) return compareDates(a.date, b.date, flags.date);
  if (!isNameFamily(column)) return compareNumbers(a.number, b.number, flags.size);
  const int ascending = a.caption->compare(*b.caption);
  return flags.name ? -ascending : ascending;
}

}  // namespace vistrel::browser
