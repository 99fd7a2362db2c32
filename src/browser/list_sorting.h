#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/collation.h"
#include "platform/dates.h"

namespace vistrel::browser {

// Columns of the file list.
enum SortColumn : int { kNameColumn = 0, kSizeColumn, kDateColumn, kPropertiesColumn, kDescriptionColumn, kIptcColumn };
inline constexpr int kColumnCount = kIptcColumn + 1;

// One direction flag per comparison, all off at start. Name, Description and
// IPTC Caption share the name flag; Size and Properties share the size flag.
struct SortFlags {
  bool name = false;
  bool size = false;
  bool date = false;
  // Not a direction: the option "Sort numbers in names by value" ("img2"
  // before "img10"), on unless the user turned it off.
  bool numbersByValue = true;
  // A column click flips the flag of its family before sorting.
  void toggle(int column);
};

// What of a row the comparisons look at.
struct SortKeys {
  std::string caption;
  std::string sizeText;
  platform::SystemTime lastWrite;
  std::string propertiesText;
};

// What the comparison of one column looks at, worked out from a row's keys
// once before a sort rather than in each of its comparisons.
struct ColumnKey {
  std::optional<platform::CollationKey> caption;  // Name, Description, IPTC Caption
  long long number = 0;                           // Size, Properties: the leading integer
  platform::DateTime date;                        // Date: local time to the second, as the column shows it
};
ColumnKey columnKey(const SortKeys& texts, int column, bool numbersByValue);

// Negative: a goes before b. Names compare by the locale, either case alike
// (ascending with the flag off); sizes and widths by their leading integer (largest first with the
// flag off), where two equal numbers never tie: a stays first with the flag on
// and goes after b with it off; dates newest first with the flag off.
int compareRows(const ColumnKey& a, const ColumnKey& b, int column, const SortFlags& flags);

// A merge sort that calls compare(earlier, later) like a list control's sort
// callback does. It never leaves its range, whatever the comparison answers,
// which matters because the comparisons above are not a strict ordering.
template <class T, class Compare>
void sortWithCallback(std::vector<T>& rows, Compare compare) {
  for (std::size_t width = 1; width < rows.size(); width *= 2) {
    std::vector<T> merged;
    merged.reserve(rows.size());
    for (std::size_t start = 0; start < rows.size(); start += 2 * width) {
      const std::size_t middle = std::min(start + width, rows.size());
      const std::size_t end = std::min(start + 2 * width, rows.size());
      std::size_t left = start, right = middle;
      while (left < middle && right < end) {
        merged.push_back(std::move(compare(rows[left], rows[right]) > 0 ? rows[right++] : rows[left++]));
      }
      while (left < middle) merged.push_back(std::move(rows[left++]));
      while (right < end) merged.push_back(std::move(rows[right++]));
    }
    rows = std::move(merged);
  }
}

}  // namespace vistrel::browser
